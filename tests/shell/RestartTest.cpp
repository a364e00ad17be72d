#include "pages/MsgFileU.h"
#include "pages/f_common.h"
#include "shell/ConnectDlg.h"
#include "shell/SettingsFile.h"
#include "support/WindowFixture.h"
#include "widgets/MaskEdit.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

namespace {

using Settings = WindowFixture;

void EditCommonPage(TformCommon& page) {
    page.etO->setText("0ABC");
    page.meMasterKey->setText("1234");
    page.rbAlarmBtnOff->click();
    page.cbSyr->setChecked(true);
    page.etTime->setText("01/02/11 09:05:03");
}

void ExpectEditedCommonPage(TformCommon& page) {
    EXPECT_EQ(page.etO->text(), "0ABC");
    EXPECT_EQ(page.meMasterKey->text(), "1234");
    EXPECT_TRUE(page.rbAlarmBtnOff->isChecked());
    EXPECT_FALSE(page.rbAlarmBtnOn->isChecked());
    EXPECT_TRUE(page.cbSyr->isChecked());
    EXPECT_EQ(page.etTime->text(), "01/02/11 09:05:03");
}

} // namespace

TEST_F(Settings, EverythingComesBackAfterARestart) {
    EditCommonPage(*form->formCommon);
    form->ConnectDialog().ComPorts->setEditText("/dev/ttyS3");
    form->ConnectDialog().meMasterKey->setText("4321");
    form->setGeometry(120, 90, 900, 650);
    const QRect geometry = form->geometry();
    CloseWindow();

    QFile current(dir.filePath("current.ini"));
    ASSERT_TRUE(current.open(QIODevice::ReadOnly));
    const QByteArray text = current.readAll();
    EXPECT_TRUE(text.startsWith("[Connect]\r\nComPort=/dev/ttyS3\r\nMasterKey=4321\r\n"))
        << text.left(80).constData();
    EXPECT_TRUE(text.contains(
        "[formCommon]\r\netTime=01/02/11 09:05:03\r\netO=0ABC\r\nmeMasterKey=1234\r\ncbSyr=1\r\n"
        "rbAlarmBtnOff=1\r\nrbAlarmBtnOn4=0\r\nrbAlarmBtnOn=0\r\n"))
        << text.constData();

    OpenWindow();
    ExpectEditedCommonPage(*form->formCommon);
    EXPECT_EQ(form->ConnectDialog().ComPorts->currentText(), "/dev/ttyS3");
    EXPECT_EQ(form->ConnectDialog().meMasterKey->text(), "4321");
    EXPECT_EQ(form->geometry(), geometry);
}

TEST_F(Settings, SaveAndLoadCommandsCarryTheCommonPage) {
    EditCommonPage(*form->formCommon);
    const QString path = dir.filePath("objekt.ini");
    ASSERT_EQ(SaveSettingsFile(path, form->SettingsTargets()), "");
    form->N2Click(); // all defaults
    EXPECT_EQ(form->formCommon->etO->text(), "0050");
    EXPECT_TRUE(form->formCommon->rbAlarmBtnOn->isChecked());
    EXPECT_FALSE(form->formCommon->cbSyr->isChecked());
    ASSERT_EQ(LoadSettingsFile(path, form->SettingsTargets()), "");
    ExpectEditedCommonPage(*form->formCommon);
}

TEST_F(Settings, MissingCatalogueIsReportedOnceAndTheToolStarts) {
    CloseWindow();
    ASSERT_TRUE(QFile::remove(dir.filePath("Messages.txt")));
    QStringList boxes;
    ModalScript script;
    script.Then([](QWidget* modal) { return qobject_cast<QMessageBox*>(modal) != nullptr; },
                [&](QWidget* modal) {
                    boxes << static_cast<QMessageBox*>(modal)->text();
                    static_cast<QMessageBox*>(modal)->accept();
                });
    OpenWindow();
    Pump(300);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(dir.filePath("Messages.txt")));
    EXPECT_EQ(form->Catalogue().count(), 0);
    EXPECT_EQ(form->Catalogue().TextOfCode("1301"), " ");
}
