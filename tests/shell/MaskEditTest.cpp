#include "widgets/MaskEdit.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

TEST(EditMask, TranslatesToQtInputMask) {
    const struct {
        const char* mask;
        const char* qt;
        int positions;
        bool leadingBlanks;
        bool saveLiterals;
        char blank;
    } cases[] = {
        {"!9999;1;_", "0000;_", 4, true, true, '_'},
        {"!999 . 999 . 999 . 999;1;_", "000 . 000 . 000 . 000;_", 21, true, true, '_'},
        {"!999;1;_", "000;_", 3, true, true, '_'},
        {"0000;1;_", "9999;_", 4, false, true, '_'},
        {"!AA:AA:AA:AA:AA:AA;1;_", "NN:NN:NN:NN:NN:NN;_", 17, true, true, '_'},
        {"LlCc#;0;*", "AaXx#;*", 5, false, false, '*'},
        {">LL<>ll<L", ">AA!aa<A;_", 5, false, true, '_'},
        {"\\9\\A0_\\;9", "\\9\\A9 \\;0;_", 6, false, true, '_'},
    };
    for (const auto& c : cases) {
        const TEditMask mask = ParseEditMask(QString::fromUtf8(c.mask));
        EXPECT_EQ(mask.QtMask, QString::fromUtf8(c.qt)) << c.mask;
        EXPECT_EQ(mask.InputPositions.size(), c.positions) << c.mask;
        EXPECT_EQ(mask.LeadingBlanks, c.leadingBlanks) << c.mask;
        EXPECT_EQ(mask.SaveLiterals, c.saveLiterals) << c.mask;
        EXPECT_EQ(mask.Blank, QChar(c.blank)) << c.mask;
    }
    EXPECT_EQ(ParseEditMask(u"").QtMask, "");
}

TEST(MaskEdit, ShowsLiteralsAndBlanks) {
    const struct {
        const char* mask;
        const char* value;
        const char* shown;   // displayText, with the mask's blank character
        const char* edit;    // EditText
        const char* aligned; // AlignedText
    } cases[] = {
        {"!9999;1;_", "5", "5___", "5   ", "   5"},
        {"!9999;1;_", "", "____", "    ", "    "},
        {"!999;1;_", "015", "015", "015", "015"},
        {"!999 . 999 . 999 . 999;1;_", "192 . 168 . 1", "192 . 168 . 1__ . ___", "192 . 168 . 1   .    ",
         "192 . 168 .   1 .    "},
        {"999 . 999;1;_", "1_5 . 7", "1_5 . 7__", "1 5 . 7  ", "15  . 7  "},
    };
    for (const auto& c : cases) {
        TMaskEdit edit(QString::fromUtf8(c.mask));
        edit.setText(QString::fromUtf8(c.value));
        EXPECT_EQ(edit.displayText(), QString::fromUtf8(c.shown)) << c.mask << " " << c.value;
        EXPECT_EQ(edit.EditText(), QString::fromUtf8(c.edit)) << c.mask << " " << c.value;
        EXPECT_EQ(edit.AlignedText(), QString::fromUtf8(c.aligned)) << c.mask << " " << c.value;
        EXPECT_EQ(edit.Mask(), QString::fromUtf8(c.mask));
    }
}

TEST(MaskEdit, EditTextPlacedBackPositionForPosition) {
    const char* const kIp = "!999 . 999 . 999 . 999;1;_";
    const struct {
        const char* mask;
        const char* text;
    } cases[] = {{"!9999;1;_", "  15"},
                 {"!9999;1;_", "1 5 "},
                 {kIp, "192 . 1   .     . 5  "},
                 {kIp, "000 . 000 . 000 . 000"}};
    for (const auto& c : cases) {
        TMaskEdit edit(QString::fromUtf8(c.mask));
        edit.SetEditText(QString::fromUtf8(c.text));
        EXPECT_EQ(edit.EditText(), QString::fromUtf8(c.text));
    }
    // Any other length is typed input: blanks are skipped.
    TMaskEdit edit("!9999;1;_");
    edit.SetEditText(" 15");
    EXPECT_EQ(edit.EditText(), "15  ");
}

TEST(MaskEdit, ChangeRuleSeesTypedDigitAsLastOne) {
    // The master key's rule: blanks become zeros and the number is shown with four digits.
    TMaskEdit edit("!9999;1;_");
    edit.setCursorPosition(0);
    QObject::connect(&edit, &QLineEdit::textChanged, &edit, [&edit] {
        const int number = edit.AlignedText().replace(u' ', u'0').toInt();
        edit.setText(QString::number(number).rightJustified(4, u'0'));
    });
    QKeyEvent key(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
    QApplication::sendEvent(&edit, &key);
    EXPECT_EQ(edit.EditText(), "0005");
}
