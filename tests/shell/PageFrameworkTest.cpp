#include "FixturePage.h"

#include "ui_queue/StatusColour.h"

#include <QCoreApplication>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using TRule = void (*)(TPageForm&);

struct PageFixture : ::testing::Test {
    TFixturePage page;
};

} // namespace

TEST_F(PageFixture, ClearRuleEmptiesEditsAndTicksAndKeepsTheRest) {
    page.etCode1->setText("1234");
    page.meDelay->setText("015");
    page.cbSyr->setChecked(true);
    page.rbOff->click();
    page.cbKind->setCurrentIndex(2);
    page.seCount->setValue(7);
    SetStatusColour(page.lbCode, kStatusBlue);

    ApplyClearRule(page);

    EXPECT_EQ(page.meDelay->EditText(), "015");
    EXPECT_EQ(page.etCode1->text(), "");
    EXPECT_FALSE(page.cbSyr->isChecked());
    EXPECT_FALSE(StatusColour(page.lbCode).isValid());
    EXPECT_TRUE(page.rbOff->isChecked());
    EXPECT_EQ(page.cbKind->currentIndex(), 2);
    EXPECT_EQ(page.seCount->value(), 7);
}

TEST_F(PageFixture, MarkResetTouchesOnlyLabelColours) {
    page.etCode1->setText("1234");
    page.cbSyr->setChecked(true);
    SetStatusColour(page.lbCode, kStatusRed);

    page.ResetMarks();

    EXPECT_FALSE(StatusColour(page.lbCode).isValid());
    EXPECT_EQ(page.etCode1->text(), "1234");
    EXPECT_TRUE(page.cbSyr->isChecked());
}

TEST_F(PageFixture, EmptyHintCheckBoxKeptByItemTextRuleClearedByIndexRule) {
    for (const bool ticked : {false, true}) {
        page.cbSyr->setChecked(ticked);
        page.SetDefaults();
        EXPECT_EQ(page.cbSyr->isChecked(), ticked);
        ApplyHintDefaults(page);
        EXPECT_FALSE(page.cbSyr->isChecked());
    }
}

TEST_F(PageFixture, ItemTextRuleSetsEditsTicksAndItemsFromHints) {
    page.etCode1->setText("1");
    page.meDelay->setText("2");
    page.cbFlag->setChecked(false);
    page.cbIndex->setCurrentIndex(0);

    page.SetDefaults();

    EXPECT_EQ(page.etCode1->text(), "0050");
    EXPECT_EQ(page.meDelay->EditText(), "015");
    EXPECT_TRUE(page.cbFlag->isChecked());
    EXPECT_EQ(page.cbKind->currentIndex(), 1); // "замкнутое" names "Замкнутое", case ignored
    EXPECT_EQ(page.cbIndex->currentIndex(), -1); // no item is called "2"
}

TEST_F(PageFixture, ItemTextRuleReadsWholeNumbersAsBooleans) {
    const struct {
        const char* hint;
        bool before;
        bool after;
    } cases[] = {
        {"1", false, true},    {"-3", false, true}, {"0", true, false},    {"FALSE", true, false},
        {"True", false, true}, {"yes", true, true}, {"yes", false, false},
    };
    for (const auto& c : cases) {
        page.cbFlag->setToolTip(c.hint);
        page.cbFlag->setChecked(c.before);
        page.SetDefaults();
        EXPECT_EQ(page.cbFlag->isChecked(), c.after) << c.hint;
    }
}

TEST_F(PageFixture, IndexRuleSelectsByNumberAndIgnoresOtherHints) {
    page.cbIndex->setCurrentIndex(0);
    ApplyHintDefaults(page);
    EXPECT_EQ(page.cbIndex->currentIndex(), 2);

    const struct {
        const char* hint;
        int expected;
    } cases[] = {{"1", 1}, {"7", -1}, {"-1", -1}, {"один", 0}};
    for (const auto& c : cases) {
        page.cbIndex->setCurrentIndex(0);
        page.cbIndex->setToolTip(c.hint);
        ApplyHintDefaults(page);
        EXPECT_EQ(page.cbIndex->currentIndex(), c.expected) << c.hint;
    }
}

TEST_F(PageFixture, IndexRuleTicksOnlyOnTheWordTrue) {
    for (const char* hint : {"1", "yes", ""}) {
        page.cbFlag->setToolTip(hint);
        page.cbFlag->setChecked(true);
        ApplyHintDefaults(page);
        EXPECT_FALSE(page.cbFlag->isChecked()) << hint;
    }
    page.cbFlag->setToolTip("TRUE");
    ApplyHintDefaults(page);
    EXPECT_TRUE(page.cbFlag->isChecked());
}

TEST_F(PageFixture, LookupIgnoresLetterCase) {
    EXPECT_EQ(page.FindField(u"ETCODE1"), page.etCode1);
    EXPECT_EQ(FindField(page, u"etcode1"), page.etCode1);
    EXPECT_EQ(page.Field<QComboBox>(u"CBKIND"), page.cbKind);
    EXPECT_EQ(page.FindField(u"etCode2"), nullptr);
    EXPECT_EQ(page.Field<QLineEdit>(u"cbKind"), nullptr); // found, but of another kind
}

TEST_F(PageFixture, LaterTrueRadioWinsUnderBothRulesAndRunsItsClickRule) {
    for (const TRule rule : {TRule(&ApplyItemTextDefaults), TRule(&ApplyHintDefaults)}) {
        page.rbOff->click();
        page.clicks.clear();
        rule(page);
        EXPECT_TRUE(page.rbOn->isChecked());
        EXPECT_FALSE(page.rbOn4->isChecked());
        EXPECT_FALSE(page.rbOff->isChecked());
        EXPECT_EQ(page.clicks, QStringList({"rbOn4", "rbOn"}));
    }
}

TEST_F(PageFixture, DisabledRadioStillSelectedWithItsRule) {
    page.rbOff->click();
    page.rbOn->setEnabled(false);
    page.clicks.clear();
    ApplyHintDefaults(page);
    EXPECT_TRUE(page.rbOn->isChecked());
    EXPECT_FALSE(page.rbOn->isEnabled());
    EXPECT_TRUE(page.clicks.contains("rbOn"));
}

TEST_F(PageFixture, RadioGroupCanBeLeftWithoutSelection) {
    page.rbOn->click();
    for (QRadioButton* radio : {page.rbOff, page.rbOn4, page.rbOn})
        radio->setToolTip("false");
    ApplyHintDefaults(page);
    EXPECT_FALSE(page.rbOff->isChecked() || page.rbOn4->isChecked() || page.rbOn->isChecked());
    // The group still excludes afterwards.
    page.rbOff->click();
    page.rbOn4->click();
    EXPECT_FALSE(page.rbOff->isChecked());
}

TEST(PageForm, BuildersPlaceControlsAndKeepCreationOrder) {
    TPageForm page("formCommon");
    auto* layout = new QVBoxLayout(&page);
    auto* box = page.AddGroupBox(layout, "gbObject", "Объект");
    auto* boxLayout = new QVBoxLayout(box);
    auto* edit = page.AddEdit(boxLayout, "etO", "0050", 4);
    auto* label = page.AddLabel(layout, "lbO", "Номер объекта");

    EXPECT_TRUE(page.property("settingsPage").toBool());
    EXPECT_EQ(page.PageName(), "formCommon");
    EXPECT_EQ(edit->parentWidget(), box);
    EXPECT_EQ(edit->toolTip(), "0050");
    EXPECT_EQ(edit->maxLength(), 4);
    EXPECT_EQ(label->text(), "Номер объекта");
    EXPECT_EQ(page.Controls(), QList<QWidget*>({box, edit, label}));

    edit->deleteLater(); // a control that goes away early drops out of the list
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(page.Controls(), QList<QWidget*>({box, label}));
}
