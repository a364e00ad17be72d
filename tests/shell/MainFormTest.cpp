#include "firmware/fUpdateIns.h"
#include "history/f_history.h"
#include "link/Modem.h"
#include "pages/f_ACP.h"
#include "pages/f_Keys.h"
#include "pages/f_common.h"
#include "protocol/DevOrvel.h"
#include "shell/ConnectDlg.h"
#include "shell/SplashDlg.h"
#include "support/WindowFixture.h"
#include "text/Cp1251.h"
#include "widgets/MaskEdit.h"
#include "widgets/Panel.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// The commands the connect command enables and the disconnect command disables.
std::vector<QWidget*> ConnectedControls(TForm1& f) {
    return {f.tbtnDisconnect,
            f.tbtnRead,
            f.tbtnWrite,
            f.tbtnReadAll,
            f.tbtnWriteAll,
            f.tbtnDefault,
            f.tbtnDefaultAll,
            f.formHistory->btnClear,
            f.formCommon->btnStop,
            f.formCommon->btnStart,
            f.formCommon->btnReboot,
            f.formCommon->btLamptest,
            f.formCommon->btnWriteText};
}
std::vector<QAction*> ConnectedEntries(TForm1& f) {
    return {f.mnuDisconnect, f.mnuRead, f.mnuWrite, f.mnuReadAll, f.mnuWriteAll, f.N1, f.N2};
}

void ExpectConnectedState(TForm1& f, bool connected) {
    EXPECT_EQ(f.Connected(), connected);
    EXPECT_EQ(f.tbtnConnect->isEnabled(), !connected);
    EXPECT_EQ(f.mnuConnect->isEnabled(), !connected);
    for (QWidget* control : ConnectedControls(f))
        EXPECT_EQ(control->isEnabled(), connected) << control->objectName().toStdString();
    for (QAction* entry : ConnectedEntries(f))
        EXPECT_EQ(entry->isEnabled(), connected) << entry->objectName().toStdString();
}

using MainWindow = WindowFixture;

} // namespace

TEST_F(MainWindow, StartsDisconnectedWithTheLayoutOfTheTool) {
    EXPECT_EQ(form->windowTitle(), "Настройка \"Орвел 11\" v 1.0.017");
    ExpectConnectedState(*form, false);
    EXPECT_TRUE(form->tbtnCalcel->isEnabled());
    EXPECT_EQ(form->ConnectDialog().meMasterKey->text(), "6183"); // no current.ini yet
    QStringList nodes;
    for (int i = 0; i < form->tv1->topLevelItemCount(); ++i)
        nodes << form->tv1->topLevelItem(i)->text(0);
    EXPECT_EQ(nodes,
              (QStringList{"Общие настройки", "Системные события", "Настройка связи", "Параметры шлейфов",
                           "Настройка разделов", "Настройка шлейфов", "Коды", "История"}));
    EXPECT_EQ(form->ShownPage(), form->formCommon);
    EXPECT_EQ(form->Device().CurrentPage.load(), form->formCommon);
    EXPECT_EQ(form->StatusPanels[0]->text(), "Com-порт:");
    EXPECT_EQ(form->StatusPanels[2]->text(), "Версия прошивки:");
    EXPECT_FALSE(form->mnuUpdate->isVisible());
    EXPECT_FALSE(form->tbtnDefault->isVisible());
}

TEST_F(MainWindow, SelectingANodeShowsItsPageAndMakesItCurrent) {
    form->tv1->setCurrentItem(form->tv1->topLevelItem(6));
    EXPECT_EQ(form->ShownPage(), form->formKeys);
    EXPECT_EQ(form->Device().CurrentPage.load(), form->formKeys);
    EXPECT_FALSE(form->formCommon->isVisibleTo(form.get()));
    EXPECT_TRUE(form->formKeys->isVisibleTo(form.get()));
}

TEST_F(MainWindow, ConnectWithTheFactoryKeySendsNoLoginAndShowsTheVersion) {
    EXPECT_EQ(Connect("6183"), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    ASSERT_TRUE(form->Connected());
    EXPECT_EQ(panel->ReceivedBytes().substr(0, 1), "[");
    for (const std::string& line : panel->Received())
        EXPECT_NE(line.rfind("+id=", 0), 0u) << line;
    EXPECT_EQ(form->StatusPanels[0]->text(), Port());
    EXPECT_EQ(form->StatusPanels[1]->text(), "");
    EXPECT_EQ(form->StatusPanels[2]->text(), "ORVEL11 v.002.005");
    EXPECT_EQ(form->Device().VersionMajor, 2);
    EXPECT_EQ(form->Device().VersionMinor, 5);
    ExpectConnectedState(*form, true);
    EXPECT_TRUE(panel->WithState([](const sim::PanelState& s) { return s.stopped; }));
}

TEST_F(MainWindow, ConnectWithTheRightKeyLogsIn) {
    panel->WithState([](sim::PanelState& s) { s.masterKey = "1234"; });
    EXPECT_EQ(Connect("1234"), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    EXPECT_TRUE(panel->WithState([](const sim::PanelState& s) { return s.loggedIn; }));
    const auto commands = Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0], "+id=1234");
    EXPECT_EQ(commands[1], "+sp");
}

TEST_F(MainWindow, RefusedLoginsShowTheirTextAndCancelReturnsToDisconnected) {
    struct Case {
        bool ignoring;
        const char* status;
    };
    for (const Case& c :
         {Case{false, "Ошибка авторизации! Неправильно введен мастер-код!"},
          Case{true, "Ошибка авторизации! Панель будет игнорировать команды на протяжении минуты!"}}) {
        panel->WithState([&](sim::PanelState& s) {
            s.masterKey = "1234";
            s.wrongKeys = c.ignoring ? sim::kWrongKeysBeforeIgnore : 0;
            s.ignoreUntil = c.ignoring ? std::chrono::steady_clock::now() + std::chrono::minutes(1)
                                       : std::chrono::steady_clock::time_point{};
        });
        panel->ClearReceived();
        EXPECT_EQ(Connect("4321", c.status), c.status);
        ExpectConnectedState(*form, false);
        EXPECT_EQ(form->Worker(), nullptr);
        ASSERT_TRUE(WaitForCommand("+rb"));
        const auto commands = Commands();
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ(commands.front(), "+id=4321");
        EXPECT_EQ(commands.back(), "+rb");
    }
}

TEST_F(MainWindow, PortThatDoesNotExistShowsItsNameAndSendsNothing) {
    const QString missing = dir.filePath("no-such-port");
    EXPECT_EQ(Connect("6183", "Ошибка при открытии COM порта: " + missing, missing),
              "Ошибка при открытии COM порта: " + missing);
    ExpectConnectedState(*form, false);
    EXPECT_TRUE(panel->ReceivedBytes().empty());
    EXPECT_TRUE(form->Memo1->toPlainText().contains(" # !!! Ошибка открытия COM порта: "));
}

TEST_F(MainWindow, VersionTextsDecideWhetherTheConnectionIsMade) {
    struct Case {
        const char* version;
        bool connects;
        int major;
        int minor;
    };
    for (const Case& c : {Case{"ORVEL11 v.003.142", true, 3, 142}, Case{"1234567", true, 123, 567},
                          Case{"ORVEL11 v.0x3.142", false, 0, 0}, Case{"ORVEL11 v.003.1a2", false, 0, 0}}) {
        panel->WithState([&](sim::PanelState& s) { s.version = c.version; });
        const QString expected = c.connects ? "СОЕДИНЕНИЕ УСТАНОВЛЕНО" : "ОШИБКА при проверки версии!";
        EXPECT_EQ(Connect("6183", c.connects ? QString() : expected), expected) << c.version;
        EXPECT_EQ(form->Connected(), c.connects) << c.version;
        if (c.connects) {
            EXPECT_EQ(form->StatusPanels[2]->text(), c.version);
            EXPECT_EQ(form->Device().VersionMajor, c.major);
            EXPECT_EQ(form->Device().VersionMinor, c.minor);
            form->tbtnDisconnectClick();
        }
        panel->WaitForClients(0, 2000);
    }
}

TEST_F(MainWindow, SilentPanelAfterLoginStillConnects) {
    panel->WithState([](sim::PanelState& s) { s.masterKey = "1234"; });
    panel->SetFault("+id", sim::Fault::Silence);
    EXPECT_EQ(Connect("1234"), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    EXPECT_TRUE(form->Connected());
    const auto commands = Commands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(commands[0], "+id=1234");
    EXPECT_EQ(commands[1], "+sp");
}

TEST_F(MainWindow, SilentPanelFailsTheVersionCheck) {
    panel->SetFault("+v", sim::Fault::Silence);
    EXPECT_EQ(Connect("6183", "ОШИБКА! Устройство не ответило!"), "ОШИБКА! Устройство не ответило!");
    ExpectConnectedState(*form, false);
    int versionQueries = 0;
    for (const std::string& command : Commands())
        versionQueries += command == "+v";
    EXPECT_EQ(versionQueries, 6);
}

TEST_F(MainWindow, PendingEventTextMakesTheStopCommandRepeat) {
    panel->WithState([](sim::PanelState& s) { s.pendingEvent = "1301 ALARM"; });
    EXPECT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    const auto commands = Commands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(commands[0], "+sp");
    EXPECT_EQ(commands[1], "+sp");
    EXPECT_EQ(commands[2], "+v");
}

TEST_F(MainWindow, DisconnectWhileIdleRebootsThePanel) {
    ASSERT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    form->tbtnDisconnectClick();
    ExpectConnectedState(*form, false);
    EXPECT_EQ(form->Device().HistoryPosition.load(), -1);
    ASSERT_TRUE(WaitForCommand("+rb"));
    EXPECT_EQ(Commands().back(), "+rb");
    Pump(100);
    EXPECT_TRUE(form->Memo1->toPlainText().contains(" # Успешно закрыли COM порт: " + Port()));
    EXPECT_TRUE(form->Memo1->toPlainText().contains(" # Поток завершил работу"));
}

TEST_F(MainWindow, LinkLossWhileIdleDisconnectsTheWindowByItself) {
    ASSERT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    panel->SendUnsolicited("NO CARRIER\r");
    EXPECT_TRUE(WaitUntil([&] { return !form->Connected(); }, 5000));
    ExpectConnectedState(*form, false);
    EXPECT_TRUE(form->Memo1->toPlainText().contains("ОШИБКА! Цифровое соединение разорвано!"));
}

TEST_F(MainWindow, LiveReadingsArePolledOnlyWhileTheAdcPageIsShown) {
    ASSERT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    auto polls = [&] {
        return panel->WithState([](const sim::PanelState& s) {
            return s.commandCounts.count("c2") ? s.commandCounts.at("c2") : 0;
        });
    };
    Pump(3500);
    EXPECT_EQ(polls(), 0);
    form->ShowPage(form->formACP);
    EXPECT_TRUE(WaitUntil([&] { return polls() >= 1; }, 5000));
    form->ShowPage(form->formCommon);
    Pump(200);
    const int before = polls();
    Pump(3500);
    EXPECT_EQ(polls(), before);
}

TEST_F(MainWindow, EraseHistoryEndsTheConnectionEvenWithoutConfirmation) {
    ASSERT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    panel->SetFault("+FH", sim::Fault::Silence);
    form->RequestOperation(OpEraseHistory);
    EXPECT_TRUE(WaitUntil([&] { return !form->Connected(); }, 90000));
    ExpectConnectedState(*form, false);
    EXPECT_TRUE(form->tv1->isEnabled()); // the commands were unlocked again
    int erases = 0;
    for (const std::string& command : Commands())
        erases += command == "+FH";
    EXPECT_EQ(erases, 3);
    EXPECT_EQ(Commands().back(), "+rb");
}

TEST_F(MainWindow, ServiceButtonsSendTheirCommands) {
    ASSERT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    form->formCommon->btLamptest->click();
    ASSERT_TRUE(WaitForCommand("+t"));
    WaitUntil([&] { return form->Worker()->CurrentOperation() == OpIdle; });
    form->formCommon->btnStart->click();
    ASSERT_TRUE(WaitForCommand("+qt"));
    WaitUntil([&] { return form->Worker()->CurrentOperation() == OpIdle; });
    form->formCommon->btnStop->click();
    EXPECT_TRUE(WaitUntil(
        [&] { return panel->WithState([](const sim::PanelState& s) { return s.stopCount >= 2; }); }));
    EXPECT_EQ(panel->WithState([](const sim::PanelState& s) { return s.lampTestCount; }), 1);
    EXPECT_EQ(panel->WithState([](const sim::PanelState& s) { return s.startCount; }), 1);
}

TEST_F(MainWindow, RebootButtonReconnects) {
    ASSERT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    ModalScript script;
    script.Then([](QWidget* modal) { return qobject_cast<TdlgConnect*>(modal) != nullptr; },
                [](QWidget* modal) { static_cast<TdlgConnect*>(modal)->OKBtn->click(); });
    form->formCommon->btnReboot->click();
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(form->Connected());
    ExpectConnectedState(*form, true);
    // The reboot command, then the one every ending worker sends.
    EXPECT_EQ(panel->WithState([](const sim::PanelState& s) { return s.rebootCount; }), 2);
    Pump(200); // the ended worker's disconnect click must not end the new connection
    EXPECT_TRUE(form->Connected());
}

TEST_F(MainWindow, CommandsWithoutAWorkerDoNothing) {
    form->ShowPage(form->formHistory);
    form->tbtnReadClick();
    form->tbtnWriteClick();
    form->tbtnReadAllClick();
    form->formCommon->btnStop->click();
    form->tbtnCalcelClick();
    Pump(100);
    EXPECT_TRUE(panel->ReceivedBytes().empty());
    EXPECT_EQ(form->ShownPage(), form->formHistory);
}

TEST_F(MainWindow, MasterKeyFieldAlwaysHoldsFourDigits) {
    TMaskEdit* key = form->ConnectDialog().meMasterKey;
    struct Case {
        const char* typed;
        const char* shown;
    };
    for (const Case& c : {Case{"", "0000"}, Case{"5", "0005"}, Case{"42", "0042"}, Case{"1234", "1234"}}) {
        key->setText(c.typed);
        EXPECT_EQ(key->text(), c.shown) << c.typed;
    }
}

TEST_F(MainWindow, AfterASuccessfulFlashConnectSkipsTheConnectDialog) {
    form->ConnectDialog().ComPorts->setEditText(Port());
    form->UpdateDialog().SetState(TformUpdateIns::StateFinished);
    bool connectDialogShown = false;
    ModalScript script(5000);
    script.Then([](QWidget* modal) { return qobject_cast<TdlgConnect*>(modal) != nullptr; },
                [&](QWidget* modal) {
                    connectDialogShown = true;
                    static_cast<TdlgConnect*>(modal)->reject();
                });
    form->mnuConnectClick();
    EXPECT_FALSE(connectDialogShown);
    EXPECT_TRUE(form->Connected());
    // The new connection resets the state.
    EXPECT_TRUE(WaitUntil([&] { return form->UpdateDialog().State() == TformUpdateIns::StateIdle; }));
}

TEST_F(MainWindow, LogIsSavedInTheAnsiCodePageWithWindowsLineEnds) {
    form->Memo1->appendPlainText("первая строка");
    form->Memo1->appendPlainText("second");
    const QString path = dir.filePath("log.txt");
    form->SaveLogTo(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ToCp1251(u"первая строка") + "\r\nsecond\r\n");
    form->Button1Click();
    EXPECT_TRUE(form->Memo1->toPlainText().isEmpty());
}

TEST_F(MainWindow, DefaultsOfThisPageRestoreTheCommonPage) {
    form->formCommon->etO->setText("1234");
    form->formCommon->rbAlarmBtnOff->click();
    form->formCommon->cbSyr->setChecked(true);
    form->ShowPage(form->formCommon);
    form->N1Click();
    EXPECT_EQ(form->formCommon->etO->text(), "0050");
    EXPECT_EQ(form->formCommon->meMasterKey->text(), "6183");
    EXPECT_TRUE(form->formCommon->rbAlarmBtnOn->isChecked());
    EXPECT_FALSE(form->formCommon->cbSyr->isChecked());
    EXPECT_TRUE(panel->ReceivedBytes().empty()); // nothing goes to the panel
}

TEST_F(MainWindow, LockedMenusKeepTheirEntriesFromActing) {
    form->formCommon->etO->setText("1234");
    form->N2->setEnabled(true);      // as while connected
    form->SetCommandsEnabled(false); // as while an operation runs
    bool dialogShown = false;
    ModalScript script(2000);
    script.Then([](QWidget*) { return true; },
                [&](QWidget* modal) {
                    dialogShown = true;
                    if (auto* dialog = qobject_cast<QDialog*>(modal))
                        dialog->reject();
                });
    for (QAction* entry : {form->N2, form->mnuAbout, form->mnuConnect, form->mnuLoad})
        entry->trigger(); // what a short-cut does
    Pump(100);
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(form->formCommon->etO->text(), "1234"); // all defaults did not run
    form->SetCommandsEnabled(true);
    form->N2->trigger();
    EXPECT_EQ(form->formCommon->etO->text(), "0050");
}
