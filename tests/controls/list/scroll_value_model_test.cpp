// The scrollbar value model: setter rules, steps and when Change is raised.
#include "controls/list/scroll_value_model.h"

#include <gtest/gtest.h>

using controls::ScrollValueModel;

namespace {

struct Counted {
    ScrollValueModel model;
    int changes = 0;
    Counted() {
        QObject::connect(&model, &ScrollValueModel::Change, [this] { ++changes; });
    }
};

} // namespace

// Each row: one operation on a model at its defaults (0..100, value 0 unless prepared),
// the stored result and how many Change events it raised.
TEST(ScrollValueModel, SetterRulesAndEvents) {
    struct Case {
        const char* name;
        std::function<void(ScrollValueModel&)> prepare;
        std::function<void(ScrollValueModel&)> act;
        int32_t min, max, value, small, large;
        int changes;
    };
    const std::vector<Case> cases = {
        {"value above max is clamped", nullptr, [](auto& m) { m.setValue(150); }, 0, 100, 100, 1, 10, 1},
        {"value below min is clamped", nullptr, [](auto& m) { m.setValue(-3); }, 0, 100, 0, 1, 10, 0},
        {"same value again raises nothing", [](auto& m) { m.setValue(100); }, [](auto& m) { m.setValue(100); }, 0, 100,
         100, 1, 10, 0},
        {"max below value lowers it silently", [](auto& m) { m.setValue(50); }, [](auto& m) { m.setMax(40); }, 0, 40,
         40, 1, 10, 0},
        {"min above value raises it silently", [](auto& m) { m.setValue(5); }, [](auto& m) { m.setMin(20); }, 20, 100,
         20, 1, 10, 0},
        {"min above max is pinned to max", nullptr, [](auto& m) { m.setMin(300); }, 100, 100, 100, 1, 10, 0},
        {"max below min is pinned to min", [](auto& m) { m.setMin(30); }, [](auto& m) { m.setMax(-8); }, 30, 30, 30, 1,
         10, 0},
        {"small change 0 stores 1", nullptr, [](auto& m) { m.setSmallChange(0); }, 0, 100, 0, 1, 10, 0},
        {"large change -5 stores 1", nullptr, [](auto& m) { m.setLargeChange(-5); }, 0, 100, 0, 1, 1, 0},
    };
    for (const Case& c : cases) {
        Counted t;
        if (c.prepare) c.prepare(t.model);
        t.changes = 0;
        c.act(t.model);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(t.model.Min(), c.min);
        EXPECT_EQ(t.model.Max(), c.max);
        EXPECT_EQ(t.model.Value(), c.value);
        EXPECT_EQ(t.model.SmallChange(), c.small);
        EXPECT_EQ(t.model.LargeChange(), c.large);
        EXPECT_EQ(t.model.Range(), int64_t(c.max) - c.min);
        EXPECT_EQ(t.changes, c.changes);
    }
}

// A step that moves the value reports it and raises Change; one that cannot raises nothing.
TEST(ScrollValueModel, StepsReportAndRaiseOnlyRealChanges) {
    Counted t;
    t.model.setValue(5);
    t.changes = 0;
    EXPECT_TRUE(t.model.StepUp(10));
    EXPECT_EQ(t.model.Value(), 0);
    EXPECT_EQ(t.changes, 1);
    EXPECT_FALSE(t.model.StepUp(10));
    EXPECT_EQ(t.changes, 1);
    t.model.setValue(95);
    t.changes = 0;
    EXPECT_TRUE(t.model.StepDown(10));
    EXPECT_EQ(t.model.Value(), 100);
    EXPECT_FALSE(t.model.StepDown(1));
    EXPECT_EQ(t.changes, 1);
}

// Extreme bounds neither overflow the range nor the steps.
TEST(ScrollValueModel, ExtremeBoundsStayExact) {
    Counted t;
    t.model.setMin(INT32_MIN);
    t.model.setMax(INT32_MAX);
    EXPECT_EQ(t.model.Range(), int64_t(INT32_MAX) - INT32_MIN);
    t.model.setValue(INT32_MAX - 1);
    EXPECT_TRUE(t.model.StepDown(INT32_MAX));
    EXPECT_EQ(t.model.Value(), INT32_MAX);
    t.model.setValue(INT32_MIN + 1);
    EXPECT_TRUE(t.model.StepUp(INT32_MAX));
    EXPECT_EQ(t.model.Value(), INT32_MIN);
}

// Loaded values bypass the setter rules and raise nothing.
TEST(ScrollValueModel, LoadTakesValuesAsStored) {
    Counted t;
    t.model.load(0, 100, 150, 0, -5);
    EXPECT_EQ(t.model.Value(), 150);
    EXPECT_EQ(t.model.SmallChange(), 0);
    EXPECT_EQ(t.model.LargeChange(), -5);
    EXPECT_EQ(t.changes, 0);
}
