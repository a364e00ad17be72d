#include "link/Modem.h"
#include "pages/MsgFileU.h"
#include "pages/f_common.h"
#include "protocol/DevOrvel.h"
#include "support/WindowFixture.h"
#include "text/Cp1251.h"
#include "ui_queue/StatusColour.h"
#include "widgets/MaskEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

TEST(FormatPanelDateTime, EveryPartGetsTwoDigits) {
    struct Case {
        const char* panel;
        const char* shown;
    };
    for (const Case& c :
         {Case{"9:5:3 1/2/11", "01/02/11 09:05:03"}, Case{"23:59:7 31/12/9", "31/12/09 23:59:07"},
          Case{"12:34:56 10/11/26 extra", "10/11/26 12:34:56"},
          Case{" 1 : 2 :3  4/ 5 / 6", "04/05/06 01:02:03"}}) {
        EXPECT_EQ(FormatPanelDateTime(c.panel), c.shown) << c.panel;
    }
}

namespace {

class CommonPage : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
        page = form->formCommon;
        form->ShowPage(page);
    }
    void Read() {
        form->tbtnReadClick();
        WaitForIdle();
    }
    void Write() {
        form->tbtnWriteClick();
        WaitForIdle();
    }
    template <typename T> T State(T sim::PanelState::*field) {
        return panel->WithState([&](const sim::PanelState& s) { return s.*field; });
    }
    TformCommon* page = nullptr;
};

} // namespace

TEST_F(CommonPage, ReadShowsWhatThePanelHolds) {
    panel->WithState([](sim::PanelState& s) {
        s.objectNumber = "1A2B";
        s.clock = "23:59:7 31/12/9";
        s.masterKey = "0420";
        s.alarmButtonMode = '2';
        s.siren = true;
    });
    page->etO->setText("FFFF");
    Read();
    EXPECT_EQ(page->etO->text(), "1A2B");
    EXPECT_EQ(page->etTime->text(), "31/12/09 23:59:07");
    EXPECT_EQ(page->meMasterKey->text(), "0420");
    EXPECT_TRUE(page->rbAlarmBtnOn4->isChecked());
    EXPECT_TRUE(page->cbSyr->isChecked());
    for (QLabel* label : {page->lbO, page->lbetTime, page->lbKey, page->lbAlarmBtnOn, page->lbAlarmBtnOn4,
                          page->lbAlarmBtnOff, page->lbSyr})
        EXPECT_EQ(StatusColour(label), kStatusBlue) << label->objectName().toStdString();
    const auto commands = Commands();
    EXPECT_EQ(std::vector<std::string>(commands.end() - 5, commands.end()),
              (std::vector<std::string>{"+o", "+AC", "+FMR", "+C", "+yt"}));
}

TEST_F(CommonPage, UnknownAlarmModeSelectsNothingButConfirmsTheLabels) {
    panel->WithState([](sim::PanelState& s) {
        s.alarmButtonMode = '5';
        s.siren = false;
    });
    page->rbAlarmBtnOff->click();
    page->cbSyr->setChecked(true);
    Read();
    EXPECT_TRUE(page->rbAlarmBtnOff->isChecked());
    EXPECT_EQ(StatusColour(page->lbAlarmBtnOn4), kStatusBlue);
    EXPECT_FALSE(page->cbSyr->isChecked()); // "+yt" 0 clears it
}

TEST_F(CommonPage, FieldWithoutReplyKeepsItsValueAndTurnsRed) {
    panel->SetFault("+yt", sim::Fault::Silence);
    page->cbSyr->setChecked(true);
    RunOperation(OpReadPage); // without the clear rule, to see the box left alone
    EXPECT_TRUE(page->cbSyr->isChecked());
    EXPECT_EQ(StatusColour(page->lbSyr), kStatusRed);
    EXPECT_EQ(StatusColour(page->lbO), kStatusBlue);
}

TEST_F(CommonPage, WriteSendsTheFieldsAndThePanelKeepsThem) {
    page->etO->setText("7");
    page->meMasterKey->setText("1234");
    page->rbAlarmBtnOff->click();
    page->cbSyr->setChecked(true);
    Write();
    EXPECT_EQ(State(&sim::PanelState::objectNumber), "0007");
    EXPECT_EQ(State(&sim::PanelState::masterKey), "1234");
    EXPECT_EQ(State(&sim::PanelState::alarmButtonMode), '1');
    EXPECT_TRUE(State(&sim::PanelState::siren));
    EXPECT_EQ(page->etO->text(), "0007");
    for (QLabel* label : {page->lbO, page->lbKey, page->lbAlarmBtnOff, page->lbSyr})
        EXPECT_EQ(StatusColour(label), kStatusBlue) << label->objectName().toStdString();
    const auto commands = Commands();
    EXPECT_EQ(std::vector<std::string>(commands.end() - 4, commands.end()),
              (std::vector<std::string>{"+o=0007", "+FMW=1234", "+C=1", "+yt=1"}));

    page->rbAlarmBtnOn4->click();
    page->cbSyr->setChecked(false);
    Write();
    EXPECT_EQ(State(&sim::PanelState::alarmButtonMode), '2');
    EXPECT_FALSE(State(&sim::PanelState::siren));
}

TEST_F(CommonPage, ZeroOrEmptyObjectNumberBecomesTheFactoryDefault) {
    for (const char* text : {"0000", ""}) {
        panel->WithState([](sim::PanelState& s) { s.objectNumber = "1111"; });
        page->etO->setText(text);
        Write();
        EXPECT_EQ(State(&sim::PanelState::objectNumber), "0050") << text;
        EXPECT_EQ(page->etO->text(), "0050") << text;
    }
}

TEST_F(CommonPage, ErrorReplyEndsTheRemainingSteps) {
    panel->SetFault("+o=", sim::Fault::Error);
    page->etO->setText("1234");
    panel->ClearReceived();
    Write();
    EXPECT_EQ(StatusColour(page->lbO), kStatusRed);
    for (const std::string& command : Commands())
        EXPECT_EQ(command, "+o=1234"); // all three attempts, nothing after them
    EXPECT_EQ(State(&sim::PanelState::objectNumber), "0050");
}

TEST_F(CommonPage, ObjectNumberTakesOnlyHexDigitsInUpperCase) {
    page->etO->clear();
    page->etO->setFocus();
    for (const char* typed : {"a", "g", "1", "-", "F", "z", "0"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(typed));
        QApplication::sendEvent(page->etO, &press);
    }
    EXPECT_EQ(page->etO->text(), "A1F0");
}

TEST_F(CommonPage, MasterKeyFieldShowsFourDigits) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    for (const Case& c : {Case{"", "0000"}, Case{"5", "0005"}, Case{"987", "0987"}, Case{"4321", "4321"}}) {
        page->meMasterKey->setText(c.typed);
        EXPECT_EQ(page->meMasterKey->text(), c.shown) << c.typed;
    }
}

TEST_F(CommonPage, WriteTextsFillsTheSystemSlotsFromTheCatalogue) {
    form->formCommon->btnWriteText->click();
    WaitForIdle();
    for (int slot = 0; slot < int(kSystemTextKeys.size()); ++slot) {
        const QString text = form->Catalogue().TextOfCode(QLatin1String(kSystemTextKeys[size_t(slot)]));
        EXPECT_NE(text, " ") << slot;
        EXPECT_EQ(panel->WithState([&](const sim::PanelState& s) { return s.texts[size_t(slot)]; }),
                  ToCp1251(text).toStdString())
            << slot;
    }
}

TEST_F(CommonPage, WriteTextsStopsAtTheFirstFailingSlot) {
    panel->SetFault("+AD05", sim::Fault::Error);
    panel->ClearReceived();
    form->formCommon->btnWriteText->click();
    WaitForIdle();
    std::vector<std::string> sentSlots;
    for (const std::string& command : Commands())
        sentSlots.push_back(command.substr(0, 5));
    EXPECT_EQ(sentSlots, (std::vector<std::string>{"+AD00", "+AD01", "+AD02", "+AD03", "+AD04", "+AD05",
                                                   "+AD05", "+AD05"}));
    EXPECT_TRUE(
        panel->WithState([](const sim::PanelState& s) { return s.texts[5].empty() && !s.texts[4].empty(); }));
}

TEST_F(CommonPage, ServiceButtonsFollowTheConnection) {
    EXPECT_TRUE(page->btnStop->isEnabled());
    form->tbtnDisconnectClick();
    for (QPushButton* button :
         {page->btnStop, page->btnStart, page->btnReboot, page->btLamptest, page->btnWriteText})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
}
