// Every page in the main window at once: what holds for all of them, checked on each
// page's own controls.
#include "window/DropDown.h"
#include "window/PageWindowTest.h"

#include "app/start/AppState.h"
#include "i18n/LanguageTexts.h"
#include "pages/buttons/ButtonPage.h"
#include "pages/lighting/LightingPage.h"
#include "pages/macros/MacroPage.h"
#include "pages/performance/PerformancePage.h"
#include "pages/settings/DeviceSettingsPage.h"
#include "pages/settings/ProgramSettingsPage.h"
#include "store/ProfileDatabase.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/TextField.h"
#include "ui/views/KeyList.h"
#include "virtualmouse/MouseDevice.h"

#include <QApplication>
#include <QComboBox>
#include <QWheelEvent>

namespace corvane::pages::test {
namespace {

namespace B = ButtonControl;
namespace L = LightingControl;
namespace P = PerformanceControl;
namespace M = MacroControl;
using S = ProgramSettingsPage;

int appendRow(void* rows, int columns, char** values, char**) {
    QStringList row;
    for (int i = 0; i < columns; ++i)
        row << QString::fromUtf8(values[i] ? values[i] : "NULL");
    static_cast<QStringList*>(rows)->append(row.join(u'|'));
    return 0;
}

class EveryPageTest : public PageWindowTest {
protected:
    void SetUp() override {
        PageWindowTest::SetUp();
        app::appState().supportedLanguages = {{1033, true}, {2052, true}};
    }
    void TearDown() override {
        PageWindowTest::TearDown();
        i18n::setCurrentLcid(1033);
    }

    void start() {
        startWindow([this](app::DeviceMainDlg& w) {
            auto b = std::make_unique<ButtonPage>(w.pageHost());
            buttons = b.get();
            auto m = std::make_unique<MacroPage>(w.pageHost(), buttons);
            auto l = std::make_unique<LightingPage>(w.pageHost());
            lighting = l.get();
            w.addPage(PageSlot::Buttons, std::move(b));
            w.addPage(PageSlot::Performance, std::make_unique<PerformancePage>(w.pageHost()));
            w.addPage(PageSlot::Macros, std::move(m));
            w.addPage(PageSlot::Lighting, std::move(l));
            w.addPage(PageSlot::DeviceSettings, std::make_unique<DeviceSettingsPage>(w.pageHost()));
            w.addPage(PageSlot::ProgramSettings,
                      std::make_unique<ProgramSettingsPage>(w.pageHost()));
        });
        waitForWorker();
        tasks.clear();
    }

    // Every stored row, as text: equal lists mean an unchanged store.
    static QStringList storeRows() {
        QStringList rows;
        store::ProfileDatabase& db = store::ProfileDatabase::instance();
        std::lock_guard lock(db.mutex());
        for (const char* sql :
             {"SELECT * FROM t_configdata ORDER BY config_id", "SELECT * FROM t_profile_data",
              "SELECT * FROM t_key_macro_data ORDER BY key_id", "SELECT * FROM t_macro_data",
              "SELECT * FROM t_macrorecord", "SELECT * FROM t_light_data ORDER BY light_id"})
            db.connection().exec(sql, appendRow, &rows);
        return rows;
    }

    // What the user can see of a page's state, leaving its words out: for each control,
    // whether it is shown and what it holds (a choice, a selection, a mark, a number).
    QStringList pageState(PageSlot slot, int leftOut = 0) const {
        QStringList state;
        for (QWidget* w : window->pageContainer(slot)->findChildren<QWidget*>()) {
            auto* c = dynamic_cast<ui::Control*>(w);
            if (!c || c->id() == pageControlId(slot, leftOut))
                continue;
            QString held;
            if (auto* box = dynamic_cast<ui::ComboBox*>(c))
                held = QStringLiteral("choice %1 of %2").arg(box->currentData()).arg(box->count());
            else if (auto* keys = dynamic_cast<ui::KeyList*>(c))
                held = QStringLiteral("row %1").arg(keys->selectedIndex());
            else if (auto* list = dynamic_cast<ui::ListBox*>(c))
                held = QStringLiteral("row %1 of %2").arg(list->currentIndex()).arg(list->count());
            else if (auto* check = dynamic_cast<ui::CheckBox*>(c))
                held = QStringLiteral("checked %1").arg(check->isChecked());
            else if (auto* grouped = dynamic_cast<ui::GroupedButton*>(c))
                held = QStringLiteral("checked %1").arg(grouped->isChecked());
            else if (auto* push = dynamic_cast<ui::PushButton*>(c))
                held = QStringLiteral("checked %1").arg(push->isChecked());
            else if (auto* slider = dynamic_cast<ui::Slider*>(c))
                held = QStringLiteral("at %1").arg(slider->position());
            else if (auto* number = dynamic_cast<ui::NumberField*>(c))
                held = QStringLiteral("value %1").arg(number->value());
            state << QStringLiteral("%1 %2 %3").arg(c->id()).arg(c->isHidden()).arg(held);
        }
        state.sort();
        return state;
    }

    ButtonPage* buttons = nullptr;
    LightingPage* lighting = nullptr;
};

// A wheel turn over a closed drop-down, as a gamer's hand does all the time, changes
// nothing: not the box, not the store, not the mouse.
TEST_F(EveryPageTest, AWheelOverAClosedDropDownChangesNothing) {
    start();
    struct Box {
        PageSlot slot;
        int local;
    };
    const Box boxes[] = {
        {PageSlot::Performance, P::StageCount}, {PageSlot::Performance, P::Rate},
        {PageSlot::Performance, P::Sleep},      {PageSlot::Lighting, L::Mode},
        {PageSlot::Buttons, B::MouseMenu},      {PageSlot::Buttons, B::MediaMenu},
        {PageSlot::Buttons, B::DpiMenu},        {PageSlot::Buttons, B::SystemMenu},
        {PageSlot::Macros, M::ButtonSelector},  {PageSlot::ProgramSettings, S::LanguageCombo},
    };
    for (const Box& box : boxes) {
        auto* combo = find<ui::ComboBox>(box.slot, box.local);
        ASSERT_NE(combo, nullptr) << box.local;
        ASSERT_GE(combo->count(), 2) << box.local;
        auto* inner = combo->findChild<QComboBox*>();
        // From the middle, so that either direction could move it.
        combo->setCurrentIndex(combo->count() / 2);
        const int before = combo->currentIndex();
        const QStringList stored = storeRows();
        const std::size_t received = mouse().received().size();
        const int lcid = i18n::currentLcid();
        for (const int delta : {-120, 120, 120}) {
            const QPointF at = inner->rect().center();
            QWheelEvent wheel(at, inner->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(inner, &wheel);
        }
        waitForWorker();
        EXPECT_EQ(combo->currentIndex(), before) << box.local;
        EXPECT_EQ(storeRows(), stored) << box.local;
        EXPECT_TRUE(tasks.empty()) << box.local;
        EXPECT_EQ(mouse().received().size(), received) << box.local << " reached the mouse";
        EXPECT_EQ(i18n::currentLcid(), lcid);
    }
}

// After a language change every page shows what it showed before, in the new words: the
// button page its stored functions and the selected key (which the next pick goes to),
// the lighting page the "off" mode's list in the new language.
TEST_F(EveryPageTest, ALanguageChangeKeepsWhatEveryPageShows) {
    start();
    // A media function on key 3, key 3 selected; the lighting off.
    auto* keys = find<ui::KeyList>(PageSlot::Buttons, B::KeyList);
    showPage(PageSlot::Buttons);
    click(PageSlot::Buttons, B::KeyList, keys->rowRect(keys->indexOfKey(3)).center());
    ASSERT_EQ(buttons->selectedKey(), 3);
    auto* media = find<ui::ComboBox>(PageSlot::Buttons, B::MediaMenu);
    auto* mediaBox = media->findChild<QComboBox*>();
    chooseByClicking(mediaBox, 2);
    store::ButtonBinding bound;
    ASSERT_TRUE(store::ProfileDatabase::instance().getBinding(profile(), 3, bound));
    auto* modes = find<ui::ComboBox>(PageSlot::Lighting, L::Mode);
    auto* modeBox = modes->findChild<QComboBox*>();
    const int off = modes->findData(0);
    ASSERT_GE(off, 0);
    showPage(PageSlot::Lighting); // a list opens only on the page shown
    chooseByClicking(modeBox, off);
    ASSERT_EQ(lighting->currentMode(), 0);
    waitForWorker();

    constexpr PageSlot kPages[] = {PageSlot::Buttons,        PageSlot::Performance,
                                   PageSlot::Macros,         PageSlot::Lighting,
                                   PageSlot::DeviceSettings, PageSlot::ProgramSettings};
    std::map<PageSlot, QStringList> before;
    for (const PageSlot slot : kPages)
        before[slot] = pageState(slot, S::LanguageCombo);
    const QStringList englishModes = [&] {
        QStringList texts;
        for (int i = 0; i < modes->count(); ++i)
            texts << modes->itemText(i);
        return texts;
    }();
    const QString englishFunction = keys->description(keys->indexOfKey(3));
    ASSERT_EQ(englishFunction, bound.macroDesc);

    window->setLanguage(2052);

    for (const PageSlot slot : kPages)
        EXPECT_EQ(pageState(slot, S::LanguageCombo), before[slot]) << int(slot);
    // The words did change.
    EXPECT_EQ(keys->selectedIndex(), keys->indexOfKey(3));
    EXPECT_EQ(buttons->selectedKey(), 3);
    EXPECT_EQ(control(PageSlot::Buttons, B::KeyName)->text(), keys->name(keys->indexOfKey(3)));
    const QString chineseFunction = keys->description(keys->indexOfKey(3));
    EXPECT_NE(chineseFunction, englishFunction) << "key 3 shows its function in Chinese";
    EXPECT_EQ(chineseFunction, media->itemText(2));
    for (int i = 0; i < modes->count(); ++i) {
        store::LightEffect light;
        ASSERT_TRUE(
            store::ProfileDatabase::instance().getLight(profile(), modes->itemData(i), light));
        EXPECT_EQ(modes->itemText(i), i18n::lookupText(i18n::kTextSection, light.reserved));
        EXPECT_NE(modes->itemText(i), englishModes[i]) << "mode " << modes->itemData(i);
    }
    EXPECT_EQ(modes->currentData(), 0);

    // The next pick goes to the key shown selected.
    tasks.clear();
    showPage(PageSlot::Buttons);
    chooseByClicking(mediaBox, 4);
    ASSERT_TRUE(store::ProfileDatabase::instance().getBinding(profile(), 3, bound));
    EXPECT_EQ(bound.macroDesc, media->itemText(4));
    store::ButtonBinding first;
    EXPECT_FALSE(store::ProfileDatabase::instance().getBinding(profile(), 0, first))
        << "the pick went to the first key";
}

} // namespace
} // namespace corvane::pages::test
