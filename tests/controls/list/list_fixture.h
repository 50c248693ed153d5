#pragma once
// A channel list on a shown host window, with every event it raises recorded in order.

#include "controls/list/list_box.h"
#include "list_test_support.h"

#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct ListFixture : ::testing::Test {
    std::unique_ptr<platform::Window> host = listtest::makeHost(420, 520);
    controls::ucListBox* list = nullptr;
    std::vector<std::string> events;

    // A list of w x h (402 high with the default border gives a ViewHeight of 400).
    void make(int w = 300, int h = 402) {
        list = new controls::ucListBox(host.get());
        list->setObjectName("ucListTV0");
        platform::MoveWindow(list, 0, 0, w, h, true);
        list->InitProperties();
        record();
        platform::pumpFor(5);
        events.clear();
    }

    void fill(int n) {
        for (int i = 0; i < n; ++i)
            list->AddItem(QStringLiteral("Item %1").arg(i), std::nullopt, QStringLiteral("u%1").arg(i));
        events.clear();
    }

    void record() {
        using L = controls::ucListBox;
        auto log = [this](std::string s) { events.push_back(std::move(s)); };
        auto mouse = [log](const char* name) {
            return [log, name](int16_t b, int16_t s, float x, float y) {
                log(std::string(name) + "(" + std::to_string(b) + "," + std::to_string(s) + "," +
                    std::to_string(int(x)) + "," + std::to_string(int(y)) + ")");
            };
        };
        QObject::connect(list, &L::Click, mouse("Click"));
        QObject::connect(list, &L::DBClick, mouse("DBClick"));
        QObject::connect(list, &L::MouseDown, mouse("MouseDown"));
        QObject::connect(list, &L::MouseUp, mouse("MouseUp"));
        QObject::connect(list, &L::BeforeListIndexChanged, [log](int16_t o, int16_t& n, int16_t f, bool&) {
            log("BeforeListIndexChanged(" + std::to_string(o) + "," + std::to_string(n) + "," + std::to_string(f) +
                ")");
        });
        QObject::connect(list, &L::ListIndexChanged, [log](int16_t n, int16_t f) {
            log("ListIndexChanged(" + std::to_string(n) + "," + std::to_string(f) + ")");
        });
        QObject::connect(list, &L::BeforePlayIndexChanged, [log](int16_t o, int16_t& n, int16_t f, bool&) {
            log("BeforePlayIndexChanged(" + std::to_string(o) + "," + std::to_string(n) + "," + std::to_string(f) +
                ")");
        });
        QObject::connect(list, &L::PlayIndexChanged, [log](int16_t n, int16_t f) {
            log("PlayIndexChanged(" + std::to_string(n) + "," + std::to_string(f) + ")");
        });
        QObject::connect(list, &L::OnAdditem, [log] { log("OnAdditem"); });
        QObject::connect(list, &L::OnRemoveitem, [log] { log("OnRemoveitem"); });
        QObject::connect(list, &L::Scroll, [log] { log("Scroll"); });
        QObject::connect(list, &L::Resize, [log] { log("Resize"); });
    }

    std::vector<QString> titles() const {
        std::vector<QString> t;
        for (int i = 0; i < list->ListCount(); ++i) t.push_back(list->Title(int16_t(i)));
        return t;
    }
};
