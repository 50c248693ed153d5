// The channel list's item model, selection and playing row, search, sort and persistence.
#include "controls/list/ansi_sort_key.h"
#include "list_fixture.h"

#include "platform/forms/runtime_error.h"
#include "platform/gdi/gdi_object.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

using namespace platform;
using controls::FormatSeconds;
using controls::ucListBox;

using Strings = std::vector<std::string>;

// AddItem appends with defaults, inserts at valid indexes and refuses the others.
TEST_F(ListFixture, AddItemCases) {
    make();
    EXPECT_EQ(list->AddItem("only a title"), 1);
    EXPECT_EQ(list->Author(0), "UnKnow");
    EXPECT_EQ(list->URL(0), "");
    EXPECT_EQ(list->StrTime(0), "00:00");
    EXPECT_FALSE(list->ItemError(0));
    list->AddItem("b", QString("x"), QString("u"), 125);
    list->AddItem("c");
    EXPECT_EQ(list->StrTime(1), "02:05");
    events.clear();

    EXPECT_EQ(list->AddItem("past the end", std::nullopt, std::nullopt, std::nullopt, 5.0), -1);
    EXPECT_EQ(list->AddItem("negative", std::nullopt, std::nullopt, std::nullopt, -0.5), -1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(list->AddItem("at the end", std::nullopt, std::nullopt, std::nullopt, 3.0), 4);
    EXPECT_EQ(list->Title(3), "at the end");

    // Inserting at 0 shifts every item; the new item is never marked faulty.
    list->setItemError(0, true);
    EXPECT_EQ(list->AddItem("first", std::nullopt, std::nullopt, std::nullopt, 0.9), 5);
    EXPECT_EQ(titles(), (std::vector<QString>{"first", "only a title", "b", "c", "at the end"}));
    EXPECT_FALSE(list->ItemError(0));
    EXPECT_TRUE(list->ItemError(1));
    EXPECT_EQ(events, (Strings{"OnAdditem", "OnAdditem"}));
}

// Invalid indexes read empty values and ignore writes.
TEST_F(ListFixture, IndexedPropertiesOutOfRange) {
    make();
    fill(2);
    for (int16_t i : {int16_t(-1), int16_t(2), int16_t(32767)}) {
        list->setTitle(i, "x");
        list->setLongTime(i, 5);
        list->setItemError(i, true);
        EXPECT_EQ(list->Title(i), "");
        EXPECT_EQ(list->LongTime(i), 0);
        EXPECT_FALSE(list->ItemError(i));
    }
    // Setting LongTime leaves StrTime alone.
    list->setLongTime(0, 3600);
    EXPECT_EQ(list->LongTime(0), 3600);
    EXPECT_EQ(list->StrTime(0), "00:00");
}

// The list holds at most 32768 items; the next append fails and changes nothing.
TEST_F(ListFixture, AddItemPastCapacityOverflows) {
    make();
    for (int i = 0; i < ucListBox::kMaxItems; ++i) list->AddItem("x");
    EXPECT_EQ(list->ListCount(), 32768);
    try {
        list->AddItem("one too many");
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) { EXPECT_EQ(e.Number(), kErrOverflow); }
    EXPECT_EQ(list->ListCount(), 32768);
    // Scrolled to the very end, the last rows still paint and the last index stays valid.
    list->ucBar()->setValue(list->ucBar()->Max());
    EXPECT_EQ(list->LastIndex(), 32767);
}

// RemoveItem and Clear: the playing row is dropped, the selection index is not adjusted.
TEST_F(ListFixture, RemoveItemCases) {
    make();
    fill(5);
    list->setListIndex(3);
    list->setPlayIndex(1);
    events.clear();
    EXPECT_EQ(list->RemoveItem(1), 4);
    EXPECT_EQ(list->PlayIndex(), -1);
    EXPECT_EQ(list->RemoveItem(0), 3);
    EXPECT_EQ(list->ListIndex(), 3) << "the selection now marks the next item";
    EXPECT_EQ(list->RemoveItem(3), -1);
    EXPECT_EQ(list->RemoveItem(-1), -1);
    EXPECT_EQ(events, (Strings{"OnRemoveitem", "OnRemoveitem"}));

    ucListBox* l = list;
    l->RemoveItem(0);
    l->RemoveItem(0);
    events.clear();
    // A one-item list is cleared, and the removal is still reported.
    EXPECT_EQ(l->RemoveItem(0), 0);
    EXPECT_EQ(events, (Strings{"OnRemoveitem"}));
    EXPECT_EQ(l->ListIndex(), -1);
    EXPECT_EQ(l->RemoveItem(0), -1);

    fill(3);
    list->setListIndex(2);
    list->setPlayIndex(2);
    events.clear();
    list->Clear();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(list->ListCount(), 0);
    EXPECT_EQ(list->ListIndex(), -1);
    EXPECT_EQ(list->PlayIndex(), -1);
    EXPECT_EQ(list->FirstIndex(), 0);
    EXPECT_EQ(list->LastIndex(), -1);
    EXPECT_FALSE(list->ucBar()->isVisibleTo(list));
}

// The scroll range: 100 rows of 27 in a 400-pixel view give Max 86 and a visible bar.
TEST_F(ListFixture, ScrollRange) {
    make();
    fill(14);
    EXPECT_FALSE(list->ucBar()->isVisibleTo(list)) << "14 rows of 27 fit in 400 pixels";
    fill(86);
    EXPECT_EQ(list->ViewHeight(), 400);
    EXPECT_EQ(list->ucBar()->Max(), 86);
    EXPECT_TRUE(list->ucBar()->isVisibleTo(list));
    EXPECT_EQ(list->UserControlWidth(), 300 - 17 - 2);
    // The bar sits inside the border, along the right edge.
    EXPECT_EQ(list->ucBar()->geometry(), QRect(300 - 17 - 1, 1, 17, 400));
}

// ListIndex and PlayIndex set by the owner: events, vetoes, redirects and scrolling.
TEST_F(ListFixture, OwnerSetsSelectionAndPlayingRow) {
    make();
    fill(100);
    list->setListIndex(5);
    list->setListIndex(5);
    EXPECT_EQ(events, (Strings{"BeforeListIndexChanged(-1,5,1)", "ListIndexChanged(5,1)",
                               "BeforeListIndexChanged(5,5,1)", "ListIndexChanged(5,1)"}));

    // A row below the view scrolls it to the top.
    list->setListIndex(50);
    EXPECT_EQ(list->FirstIndex(), 50);

    QObject::connect(list, &ucListBox::BeforePlayIndexChanged, [](int16_t, int16_t& n, int16_t, bool& cancel) {
        if (n == 7) cancel = true;
        if (n == 8) n = 9;
    });
    events.clear();
    list->setPlayIndex(7);
    EXPECT_EQ(list->PlayIndex(), -1);
    list->setPlayIndex(8);
    EXPECT_EQ(list->PlayIndex(), 9);
    EXPECT_EQ(events,
              (Strings{"BeforePlayIndexChanged(-1,7,1)", "BeforePlayIndexChanged(-1,8,1)", "PlayIndexChanged(9,1)"}));
}

// Presses select the row under the pointer; a vetoed selection suppresses MouseDown.
TEST_F(ListFixture, PressSelectsAndCancelSuppressesMouseDown) {
    make();
    fill(20);
    listtest::press(list, {40, 1});
    listtest::release(list, {40, 1});
    EXPECT_EQ(events, (Strings{"BeforeListIndexChanged(-1,0,0)", "ListIndexChanged(0,0)", "MouseDown(1,0,40,1)",
                               "MouseUp(1,0,40,1)", "Click(1,0,40,1)"}));
    EXPECT_EQ(list->ListIndex(), 0);

    bool veto = true;
    QObject::connect(list, &ucListBox::BeforeListIndexChanged, [&](int16_t, int16_t&, int16_t, bool& c) { c = veto; });
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
        events.clear();
        listtest::press(list, {40, 28}, b); // the hit band of row 1 starts one pixel early
        EXPECT_EQ(list->ListIndex(), 0);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0], "BeforeListIndexChanged(0,1,0)");
        listtest::release(list, {40, 28}, b);
    }
    // The middle button never selects; a press on the selected row raises no Before event.
    veto = false;
    events.clear();
    listtest::press(list, {40, 28}, Qt::MiddleButton);
    listtest::press(list, {40, 5}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(events, (Strings{"MouseDown(4,0,40,28)", "MouseDown(1,1,40,5)"}));
    listtest::release(list, {40, 5});
}

// Double-clicks: a new row starts playing; the playing row only raises DBClick; the right
// button does neither.
TEST_F(ListFixture, DoubleClickCases) {
    make();
    fill(20);
    listtest::doubleClick(list, {40, 60});
    const Strings firstTime = {"BeforeListIndexChanged(-1,2,0)",
                               "ListIndexChanged(2,0)",
                               "MouseDown(1,0,40,60)",
                               "MouseUp(1,0,40,60)",
                               "Click(1,0,40,60)",
                               "DBClick(1,0,40,60)",
                               "BeforePlayIndexChanged(-1,2,0)",
                               "PlayIndexChanged(2,0)",
                               "MouseUp(1,0,40,60)"};
    EXPECT_EQ(events, firstTime);
    EXPECT_EQ(list->PlayIndex(), 2);

    events.clear();
    listtest::doubleClick(list, {40, 60});
    EXPECT_EQ(std::count(events.begin(), events.end(), "DBClick(1,0,40,60)"), 1);
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e.find("Play") != std::string::npos; }),
              0);

    events.clear();
    listtest::doubleClick(list, {40, 100}, Qt::RightButton);
    EXPECT_EQ(list->PlayIndex(), 2);
    EXPECT_EQ(
        std::count_if(events.begin(), events.end(), [](const std::string& e) { return e.rfind("DBClick", 0) == 0; }),
        0);
    EXPECT_EQ(list->ListIndex(), 3) << "the first right press still selects";

    // A vetoed playing-row change leaves the row as it was.
    QObject::connect(list, &ucListBox::BeforePlayIndexChanged, [](int16_t, int16_t&, int16_t, bool& c) { c = true; });
    listtest::doubleClick(list, {40, 150});
    EXPECT_EQ(list->PlayIndex(), 2);
}

// IndexFromPoint uses the hit bands, counted from BorderWidth.
TEST_F(ListFixture, IndexFromPoint) {
    make();
    EXPECT_EQ(list->IndexFromPoint(0, 10), -1);
    fill(5);
    const std::vector<std::pair<double, int>> cases = {{0.5, -1}, {1, 0}, {27.9, 0}, {28, 1}, {135.5, 4}, {136, -1}};
    for (auto [y, row] : cases) EXPECT_EQ(list->IndexFromPoint(123, y), row) << y;
}

// Searching compares whole fields without regard to case and runs handlers between items.
TEST_F(ListFixture, FindStringCases) {
    make();
    EXPECT_EQ(list->FindString("x", 0), -1);
    list->AddItem("abcdef", QString("Someone"), QString("http://a"));
    list->AddItem("abc", QString("someone"), QString("http://b"));
    list->AddItem("ABC", QString("x"), QString("HTTP://B"));
    struct Case {
        QString key;
        int32_t field;
        std::optional<int32_t> start;
        int32_t found;
    };
    const std::vector<Case> cases = {
        {"ABC", 0, std::nullopt, 1},
        {"abc", 0, 2, 2},
        {"ab", 0, std::nullopt, -1},
        {"SOMEONE", 1, std::nullopt, 0},
        {"http://b", 2, 2, 2},
        {"abc", 0, 3, -1},
        {"", 7, 1, 1},
        {"abc", 7, std::nullopt, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(list->FindString(c.key, c.field, c.start), c.found) << c.key.toStdString();
    EXPECT_THROW(list->FindString("abc", 0, -1), RuntimeError);
}

// A handler that empties the list during a search ends it with "not found".
TEST_F(ListFixture, FindStringSurvivesRemovalDuringSearch) {
    make();
    fill(50);
    bool removed = false;
    QTimer::singleShot(0, [&] {
        list->Clear();
        removed = true;
    });
    EXPECT_EQ(list->FindString("Item 49", 0), -1);
    EXPECT_TRUE(removed);
}

// Title sorts alternate ascending, descending, ascending by the first character's GBK code;
// the selected and playing items keep their marks.
TEST_F(ListFixture, SortedAlternatesAndKeepsMarks) {
    make();
    for (const char* t : {"中国", "b2", "a", "阿", "", "B1"}) list->AddItem(QString::fromUtf8(t));
    list->setListIndex(2); // "a"
    list->setPlayIndex(0); // "中国"
    list->Sorted(0);
    // Empty first; single-byte by code ("B" 66 < "a" 97 < "b" 98); then double-byte by their
    // negative codes (阿 0xB0A2 < 中 0xD6D0).
    std::vector<QString> asc = titles();
    ASSERT_EQ(asc.size(), 6u);
    EXPECT_EQ(asc[0], "");
    EXPECT_EQ(asc[1], "B1");
    EXPECT_EQ(asc[2], "a");
    EXPECT_EQ(asc[3], "b2");
    EXPECT_EQ(asc[4], QString::fromUtf8("阿"));
    EXPECT_EQ(asc[5], QString::fromUtf8("中国"));
    EXPECT_EQ(list->Title(list->ListIndex()), "a");
    EXPECT_EQ(list->Title(list->PlayIndex()), QString::fromUtf8("中国"));
    EXPECT_EQ(list->SortState(), 1);

    list->Sorted(0);
    std::vector<QString> desc = titles();
    EXPECT_EQ(desc.front(), QString::fromUtf8("中国"));
    EXPECT_EQ(desc.back(), "");
    EXPECT_EQ(list->SortState(), 2);
    list->Sorted(0);
    EXPECT_EQ(titles().front(), "");
    EXPECT_EQ(list->SortState(), 1);
    EXPECT_EQ(list->Title(list->ListIndex()), "a");
}

// Author and LongTime sorts, and an unknown key that sorts nothing.
TEST_F(ListFixture, SortedByAuthorAndLongTime) {
    make();
    list->AddItem("one", QString("z"), std::nullopt, 30);
    list->AddItem("two", QString("m"), std::nullopt, 10);
    list->AddItem("three", QString("a"), std::nullopt, 20);
    list->Sorted(1);
    EXPECT_EQ(titles(), (std::vector<QString>{"three", "two", "one"}));
    list->Sorted(2);
    EXPECT_EQ(titles(), (std::vector<QString>{"two", "three", "one"}));
    list->Sorted(2);
    EXPECT_EQ(titles(), (std::vector<QString>{"one", "three", "two"}));
    EXPECT_EQ(list->SortState(), 6);
    list->Sorted(9);
    EXPECT_EQ(titles(), (std::vector<QString>{"one", "three", "two"}));
    EXPECT_EQ(list->SortState(), 6);
}

// The first-character key compares double-byte codes as signed numbers and puts
// single-byte characters first; characters outside code page 936 count as "?".
TEST(FirstCharLess, CodePage936Rules) {
    using controls::AnsiFirstCharCode;
    using controls::FirstCharLess;
    EXPECT_EQ(AnsiFirstCharCode("A"), 65);
    EXPECT_EQ(AnsiFirstCharCode(QString::fromUtf8("中")), int16_t(0xD6D0));
    EXPECT_EQ(AnsiFirstCharCode(QString::fromUtf8("😀")), 63);
    EXPECT_EQ(AnsiFirstCharCode(QString::fromUtf8("ก")), 63);
    EXPECT_FALSE(AnsiFirstCharCode("").has_value());
    EXPECT_TRUE(FirstCharLess(QString("z"), QString::fromUtf8("阿")));
    EXPECT_TRUE(FirstCharLess(QString::fromUtf8("阿"), QString::fromUtf8("中")));
    EXPECT_FALSE(FirstCharLess(QString("ab"), QString("az")));
    EXPECT_TRUE(FirstCharLess(QString(""), QString("a")));
    EXPECT_FALSE(FirstCharLess(QString(""), QString("")));
}

TEST(FormatSeconds, Table) {
    const std::vector<std::pair<int32_t, const char*>> cases = {
        {0, "00:00"},      {125, "02:05"},     {3599, "59:59"},  {3600, "1:00:00"},
        {3725, "1:02:05"}, {90000, "1:00:00"}, {86400, "00:00"}, {-5, "00:-05"},
    };
    for (auto [s, text] : cases) EXPECT_EQ(FormatSeconds(s), text) << s;
}

// AutoCheckError marks rows whose URL names no regular file, and follows the file system
// at every paint; inserted rows are not checked.
TEST_F(ListFixture, AutoCheckErrorFileTest) {
    QTemporaryDir dir;
    const QString file = dir.filePath("a.mp3");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    make();
    list->setAutoCheckError(true);
    list->AddItem("file", std::nullopt, file);
    list->AddItem("missing", std::nullopt, dir.filePath("none.mp3"));
    list->AddItem("empty");
    list->AddItem("directory", std::nullopt, dir.path());
    list->AddItem("inserted", std::nullopt, QString(), std::nullopt, 0.0);
    EXPECT_EQ((std::vector<bool>{list->ItemError(0), list->ItemError(1), list->ItemError(2), list->ItemError(3),
                                 list->ItemError(4)}),
              (std::vector<bool>{false, false, true, true, true}));
    QFile::remove(file);
    list->Refresh();
    EXPECT_TRUE(list->ItemError(1));
}

// Saving writes the 15 keys in order, always; loading falls back to held values.
TEST_F(ListFixture, PersistenceOfTheFifteenKeys) {
    make();
    PropertyBag out;
    list->WriteProperties(out);
    EXPECT_EQ(out.names(),
              (std::vector<QString>{"BackColor", "Font", "AutoCheckError", "ItemHeight", "ItemBkColor1", "ItemBkColor2",
                                    "ItemSelBkColor", "ItemNorTextColor", "ItemSelTextColor", "ItemPlyTextColor",
                                    "ItemErrTextColor", "Border", "BorderColor", "BorderWidth", "Style"}));
    EXPECT_EQ(out.ReadColor("BackColor", 0), 0x00121111u);
    EXPECT_EQ(out.ReadInt("ItemHeight", 0), 27);

    list->setItemBkColor2(0x00010203);
    PropertyBag in;
    in.WriteProperty("backcolor", int32_t(0x00242323));
    in.WriteProperty("Style", int32_t(1));
    in.WriteProperty("ItemHeight", int32_t(0));
    list->ReadProperties(in);
    EXPECT_EQ(list->BackColor(), 0x00242323u);
    EXPECT_EQ(list->Style(), 1);
    EXPECT_EQ(list->ItemBkColor2(), 0x00010203u) << "a missing key keeps the held value";
    EXPECT_EQ(list->ItemHeight(), 27) << "a height below one pixel is refused";
    EXPECT_EQ(list->NumberColumnWidth(), std::max(18, list->NumberColumnWidth()));
}

// Setter rules with sound limits: heights below one pixel and impossible pen widths.
TEST_F(ListFixture, SetterLimits) {
    make();
    fill(30);
    for (int32_t bad : {0, -4}) list->setItemHeight(bad);
    EXPECT_EQ(list->ItemHeight(), 27);
    list->setItemHeight(40);
    EXPECT_EQ(list->ucBar()->Max(), 30 - 10);
    for (int32_t bad : {0, -1, 40000}) list->setBorderWidth(bad);
    EXPECT_EQ(list->BorderWidth(), 1);
}

// A run-time resize recomputes the range and raises Resize.
TEST_F(ListFixture, ResizeRaisesResize) {
    make();
    fill(30);
    MoveWindow(list, 0, 0, 300, 28 * 27 + 2, true);
    EXPECT_EQ(events, (Strings{"Resize"}));
    EXPECT_EQ(list->ucBar()->Max(), 2);
}

// A list and its bar release every brush, pen, font, bitmap and context they made.
TEST_F(ListFixture, TeardownReleasesPlatformObjects) {
    const int objects = gdiObjectCount();
    const int contexts = deviceContextCount();
    make();
    fill(40);
    list->setPlayIndex(2);
    list->setBackColor(0x00102030);
    list->setFont(FontDesc{});
    list->Refresh();
    platform::pumpFor(20);
    delete list;
    list = nullptr;
    EXPECT_EQ(gdiObjectCount(), objects);
    EXPECT_EQ(deviceContextCount(), contexts);
}
