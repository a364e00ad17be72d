#include "FixturePage.h"

#include "shell/SettingsFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Field values of a fixture page, for comparing whole pages.
QStringList Snapshot(const TFixturePage& page) {
    return {page.etCode1->text(),
            page.meDelay->EditText(),
            page.cbSyr->isChecked() ? "1" : "0",
            page.cbFlag->isChecked() ? "1" : "0",
            page.rbOff->isChecked()   ? "rbOff"
            : page.rbOn4->isChecked() ? "rbOn4"
            : page.rbOn->isChecked()  ? "rbOn"
                                      : "-",
            QString::number(page.cbKind->currentIndex()),
            QString::number(page.cbIndex->currentIndex()),
            page.seCount->text()};
}

// Values unlike every factory default, different for each page.
void FillPage(TFixturePage& page, int seed) {
    page.etCode1->setText(QString::number(1000 + seed));
    page.meDelay->setText(QString::number(100 + seed));
    page.cbSyr->setChecked(true);
    page.cbFlag->setChecked(false);
    page.rbOff->click();
    page.cbKind->setCurrentIndex(2);
    page.cbIndex->setCurrentIndex(seed % 2);
    page.seCount->setValue(40 + seed);
}

struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    QComboBox comPort;
    TMaskEdit masterKey{"!9999;1;_"};
    QAction debugMemo;
    QAction debugLog;
    TFixturePage common{"formCommon"}, lan{"formLAN"}, keys{"formKeys"}, shleif{"formShleif"},
        razd{"formRazd"}, acp{"formACP"};
    QString history = "history";
    QString aTests = "atests";
    QStringList loadOrder;
    TSettingsTargets targets;

    QList<TFixturePage*> Pages() { return {&common, &lan, &keys, &shleif, &razd, &acp}; }

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        comPort.setEditable(true);
        debugMemo.setCheckable(true);
        debugLog.setCheckable(true);
        for (TFixturePage* page : Pages())
            page->onLoad = [this](const QString& name) { loadOrder.append(name); };
        targets.comPort = &comPort;
        targets.masterKey = &masterKey;
        targets.debugMemo = &debugMemo;
        targets.debugLog = &debugLog;
        targets.formCommon = &common;
        targets.formLAN = &lan;
        targets.formKeys = &keys;
        targets.formShleif = &shleif;
        targets.formRazd = &razd;
        targets.formACP = &acp;
        targets.saveHistory = [this](TIniFile& ini) {
            ini.WriteString("formHistory", "HistoryInFile", history);
        };
        targets.loadHistory = [this](TIniFile& ini) {
            loadOrder.append("formHistory");
            history = ini.ReadString("formHistory", "HistoryInFile");
        };
        targets.saveATests = [this](TIniFile& ini) { ini.WriteString("formATests", "caa", aTests); };
        targets.loadATests = [this](TIniFile& ini) {
            loadOrder.append("formATests");
            aTests = ini.ReadString("formATests", "caa");
        };
    }

    QString Path(const QString& name) const { return dir.filePath(name); }
};

} // namespace

TEST_F(SettingsFixture, SavedFileLoadsBackEveryField) {
    int seed = 0;
    for (TFixturePage* page : Pages())
        FillPage(*page, ++seed);
    comPort.setCurrentText("COM7");
    masterKey.setText("0042");
    debugMemo.setChecked(true);
    history = "1";
    aTests = "Тест";
    QList<QStringList> saved;
    for (TFixturePage* page : Pages())
        saved.append(Snapshot(*page));

    const QString path = Path("settings.ini");
    ASSERT_EQ(SaveSettingsFile(path, targets), "");

    TIniFile file;
    ASSERT_EQ(file.Open(path), "");
    EXPECT_EQ(file.Sections(),
              QStringList({"Connect", "Debug", "formCommon", "formLAN", "formKeys", "formHistory",
                           "formShleif", "formRazd", "formACP", "formATests"}));
    EXPECT_EQ(file.Keys("formCommon"), QStringList({"etCode1", "meDelay", "cbSyr", "cbFlag", "rbOff", "rbOn4",
                                                    "rbOn", "cbKind", "cbIndex", "seCount"}));
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.contains("[Connect]\r\nComPort=COM7\r\nMasterKey=0042\r\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("[Debug]\r\nMemo=1\r\nLog=0\r\n"));
    EXPECT_TRUE(bytes.contains("cbSyr=1\r\ncbFlag=0\r\nrbOff=1\r\nrbOn4=0\r\nrbOn=0\r\ncbKind=2\r\n"));
    EXPECT_FALSE(bytes.contains("\r\n\r\n\r\n")); // one blank line between sections

    for (TFixturePage* page : Pages()) {
        page->ClearFields();
        page->SetDefaults();
    }
    comPort.setCurrentText("COM1");
    masterKey.setText("9999");
    debugMemo.setChecked(false);
    history.clear();
    aTests.clear();

    ASSERT_EQ(LoadSettingsFile(path, targets), "");
    for (qsizetype i = 0; i < saved.size(); ++i)
        EXPECT_EQ(Snapshot(*Pages()[i]), saved[i]) << Pages()[i]->PageName().toStdString();
    EXPECT_EQ(comPort.currentText(), "COM7");
    EXPECT_EQ(masterKey.EditText(), "0042");
    EXPECT_TRUE(debugMemo.isChecked());
    EXPECT_FALSE(debugLog.isChecked());
    EXPECT_EQ(history, "1");
    EXPECT_EQ(aTests, "Тест");
    // The system events page is read before the ADC page, though written after it.
    EXPECT_EQ(loadOrder, QStringList({"formCommon", "formLAN", "formKeys", "formHistory", "formShleif",
                                      "formRazd", "formATests", "formACP"}));
}

TEST_F(SettingsFixture, SaveKeepsWhatTheProgramDoesNotWrite) {
    const QString path = Path("settings.ini");
    WriteBytes(path, "; vendor note\n[Vendor]\nkey=value\n\n[formCommon]\nextraKey=7\netCode1=old\n\n"
                     "[Update]\nUpdatePanelVersion=qomzer\n");
    common.etCode1->setText("0077");
    ASSERT_EQ(SaveSettingsFile(path, targets), "");

    TIniFile file;
    ASSERT_EQ(file.Open(path), "");
    EXPECT_EQ(file.ReadString("Vendor", "key"), "value");
    EXPECT_EQ(file.ReadString("formCommon", "extraKey"), "7");
    EXPECT_EQ(file.ReadString("formCommon", "etCode1"), "0077");
    EXPECT_EQ(file.Keys("formCommon").first(), "extraKey");
    EXPECT_EQ(file.Sections().mid(0, 4), QStringList({"Vendor", "formCommon", "Update", "Connect"}));
    EXPECT_TRUE(ServiceModeEnabled(file));
    EXPECT_TRUE(ReadBytes(path).startsWith("; vendor note\r\n"));
}

TEST_F(SettingsFixture, FileWithOnlyConnectAppliesAbsentKeyRules) {
    int seed = 0;
    for (TFixturePage* page : Pages())
        FillPage(*page, ++seed);
    const QString path = Path("connect.ini");
    WriteBytes(path, "[Connect]\nComPort=COM3\n");
    ASSERT_EQ(LoadSettingsFile(path, targets), "");
    seed = 0;
    for (TFixturePage* page : Pages()) {
        ++seed;
        // Edit boxes take their Hint, masked edits and spin edits stay, check boxes clear (the Hint
        // "true" plays no part), radio buttons take their Hint, combo boxes the first item.
        EXPECT_EQ(Snapshot(*page), QStringList({"0050", QString::number(100 + seed), "0", "0", "rbOn", "0",
                                                "0", QString::number(40 + seed)}));
    }
    EXPECT_EQ(comPort.currentText(), "COM3");
    EXPECT_EQ(masterKey.EditText(), "6183");
}

TEST_F(SettingsFixture, StoredValuesOutsideTheUsualOnes) {
    FillPage(common, 5);
    common.rbOn->click();
    const QString path = Path("odd.ini");
    WriteBytes(path, "[FORMCOMMON]\nETCODE1=\nmeDelay=7\nseCount=\ncbKind=9\ncbIndex=x\n"
                     "rbOff=-1\nrbOn4=0\nrbOn=no\ncbFlag=2\n");
    ASSERT_EQ(LoadSettingsFile(path, targets), "");
    // A present empty value is a value; an out-of-range index selects nothing; a value that is not
    // a number counts as absent (radio: its Hint; combo: first item); names match in any case.
    EXPECT_EQ(Snapshot(common), QStringList({"", "7  ", "0", "1", "rbOn", "-1", "0", "45"}));
}

TEST_F(SettingsFixture, ConnectKeys) {
    const struct {
        const char* file;
        const char* port;
        const char* key;
    } cases[] = {
        {"[Connect]\nComPort=\n", "COM9", "6183"},
        {"", "COM9", "6183"},
        {"[Connect]\nComPort=COM4\nMasterKey=0042\n", "COM4", "0042"},
    };
    for (const auto& c : cases) {
        comPort.setCurrentText("COM9");
        masterKey.setText("1111");
        const QString path = Path("connect.ini");
        WriteBytes(path, c.file);
        ASSERT_EQ(LoadSettingsFile(path, targets), "");
        EXPECT_EQ(comPort.currentText(), c.port) << c.file;
        EXPECT_EQ(masterKey.EditText(), c.key) << c.file;
    }
}

TEST_F(SettingsFixture, DebugEntriesAreTriggeredOnlyToTick) {
    const struct {
        const char* stored;
        bool before;
        bool after;
        int triggers;
    } cases[] = {{"1", false, true, 1}, {"1", true, true, 0}, {"0", true, true, 0}, {"", false, false, 0}};
    for (const auto& c : cases) {
        debugMemo.setChecked(c.before);
        int triggers = 0;
        const auto connection =
            QObject::connect(&debugMemo, &QAction::triggered, [&triggers] { ++triggers; });
        const QString path = Path("debug.ini");
        WriteBytes(path, QByteArray("[Debug]\nMemo=") + c.stored + "\n");
        ASSERT_EQ(LoadSettingsFile(path, targets), "");
        QObject::disconnect(connection);
        EXPECT_EQ(debugMemo.isChecked(), c.after) << c.stored;
        EXPECT_EQ(triggers, c.triggers) << c.stored;
    }
}

TEST_F(SettingsFixture, ServiceModeNeedsExactlyQomzerAndIsNeverWritten) {
    const struct {
        const char* file;
        bool enabled;
        bool hasKey;
    } cases[] = {
        {"[Update]\nUpdatePanelVersion=qomzer\n", true, true},
        {"[update]\nupdatepanelversion=qomzer\n", true, true},
        {"[Update]\nUpdatePanelVersion=Qomzer\n", false, true},
        {"[Update]\nUpdatePanelVersion=qomzer1\n", false, true},
        {"[Update]\n", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        const QString path = Path("current.ini");
        WriteBytes(path, c.file);
        TIniFile current;
        ASSERT_EQ(current.Open(path), "");
        EXPECT_EQ(ServiceModeEnabled(current), c.enabled) << c.file;
        SaveAllSettings(current, targets);
        ASSERT_EQ(current.Save(), "");
        TIniFile back;
        ASSERT_EQ(back.Open(path), "");
        EXPECT_EQ(back.ValueExists("Update", "UpdatePanelVersion"), c.hasKey) << c.file;
        EXPECT_EQ(ServiceModeEnabled(back), c.enabled) << c.file;
    }
}

TEST_F(SettingsFixture, IniFileNamesValuesAndOrder) {
    const QString path = Path("plain.ini");
    WriteBytes(path, "[B]\nz=1\na=2\n[A]\nk=  spaced value  \nn=12x\nb=7\n");
    TIniFile ini;
    ASSERT_EQ(ini.Open(path), "");
    EXPECT_EQ(ini.ReadString("a", "K"), "spaced value"); // blanks around a value do not count
    EXPECT_EQ(ini.ReadInteger("A", "n", -5), -5);
    EXPECT_TRUE(ini.ReadBool("A", "b", false));
    EXPECT_TRUE(ini.ReadBool("A", "n", true)); // not a number: the default
    EXPECT_FALSE(ini.ReadBool("A", "n", false));
    EXPECT_TRUE(ini.ValueExists("b", "Z"));
    EXPECT_FALSE(ini.ValueExists("B", "y"));
    EXPECT_TRUE(ini.SectionExists("a"));

    ini.WriteString("C", "line", "one\ntwo=2");
    ini.WriteInteger("b", "Z", 5);
    ini.WriteBool("B", "new", true);
    ASSERT_EQ(ini.Save(), "");
    TIniFile back;
    ASSERT_EQ(back.Open(path), "");
    EXPECT_EQ(back.Sections(), QStringList({"B", "A", "C"}));
    EXPECT_EQ(back.Keys("B"), QStringList({"z", "a", "new"}));
    EXPECT_EQ(back.ReadString("C", "line"), "one two=2"); // one value stays one line
    EXPECT_FALSE(back.ValueExists("C", "two"));
    EXPECT_EQ(back.ReadString("B", "new"), "1");
}

TEST_F(SettingsFixture, CyrillicIsStoredAsCp1251) {
    const QString path = Path("cyr.ini");
    TIniFile ini;
    ASSERT_EQ(ini.Open(path), "");
    ini.WriteString("formRazd", "etName", "Раздел №1 «Склад»");
    ASSERT_EQ(ini.Save(), "");
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.contains("etName=\xD0\xE0\xE7\xE4\xE5\xEB \xB9"
                               "1 \xAB\xD1\xEA\xEB\xE0\xE4\xBB\r\n"))
        << bytes.toHex().constData();
    TIniFile back;
    ASSERT_EQ(back.Open(path), "");
    EXPECT_EQ(back.ReadString("FORMRAZD", "ETNAME"), "Раздел №1 «Склад»");
}

TEST_F(SettingsFixture, OtherIniReadersSeeTheSameValues) {
    FillPage(common, 3);
    common.etCode1->setText("Тест");
    comPort.setCurrentText("COM3");
    const QString path = Path("python.ini");
    ASSERT_EQ(SaveSettingsFile(path, targets), "");

    const char* script = "import configparser, json, sys\n"
                         "cp = configparser.ConfigParser(interpolation=None)\n"
                         "cp.read(sys.argv[1], encoding='cp1251')\n"
                         "print(json.dumps({s: dict(cp[s]) for s in cp.sections()}))\n";
    QProcess python;
    python.start("python3", {"-c", script, path});
    if (!python.waitForStarted())
        GTEST_SKIP() << "python3 is not available";
    ASSERT_TRUE(python.waitForFinished());
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().constData();
    const QJsonObject parsed = QJsonDocument::fromJson(python.readAllStandardOutput()).object();

    TIniFile ours;
    ASSERT_EQ(ours.Open(path), "");
    ASSERT_EQ(parsed.keys().size(), ours.Sections().size());
    for (const QString& section : ours.Sections()) {
        const QJsonObject values = parsed.value(section).toObject();
        EXPECT_EQ(values.size(), ours.Keys(section).size()) << section.toStdString();
        for (const QString& key : ours.Keys(section))
            EXPECT_EQ(values.value(key.toLower()).toString(), ours.ReadString(section, key))
                << section.toStdString() << "/" << key.toStdString();
    }
    EXPECT_EQ(parsed.value("formCommon").toObject().value("etcode1").toString(), "Тест");
}

namespace {

// Lowers the file size limit for this process; root is held by it as well as anyone.
class TFileSizeLimit {
  public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

  private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
};

} // namespace

TEST_F(SettingsFixture, FailedSaveNamesTheFileAndKeepsTheOldOne) {
    const QString folder = Path("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/settings.ini";
    const QByteArray old = "[Vendor]\nkey=old value\n";
    WriteBytes(path, old);
    common.etCode1->setText("0077");

    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0555), 0);
    QFile probe(folder + "/probe");
    const bool permissionsHold = !probe.open(QIODevice::WriteOnly);
    probe.remove();
    QString error;
    QString reason;
    if (permissionsHold) {
        error = SaveSettingsFile(path, targets);
        reason = QString::fromLocal8Bit(std::strerror(EACCES));
    } else {
        // Running as root: permissions do not stop the write, a file size limit does.
        TFileSizeLimit limit(16);
        error = SaveSettingsFile(path, targets);
        reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    }
    chmod(QFile::encodeName(folder).constData(), 0755);

    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
    EXPECT_TRUE(error.contains(reason, Qt::CaseInsensitive)) << error.toStdString();
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"settings.ini"}));
}

TEST_F(SettingsFixture, ReadErrorsNameTheFile) {
    const QString missing = Path("missing.ini");
    const QString error = LoadSettingsFile(missing, targets);
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(missing))) << error.toStdString();
    TIniFile ini;
    EXPECT_EQ(ini.Open(missing), ""); // program files may not exist yet
    const QString folder = Path("folder.ini");
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(ini.Open(folder).contains(QDir::toNativeSeparators(folder)));
    // A file that cannot be read is not replaced by a save.
    EXPECT_NE(SaveSettingsFile(folder, targets), "");
}

// ---------------------------------------------------------------------------------------------------
// windows.ini

namespace {

struct GeometryFixture : ::testing::Test {
    QTemporaryDir dir;
    QString path;
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("windows.ini");
    }

    // A main window: a tool bar, a page tree that opts out, a plain panel and a page with a grid.
    static std::unique_ptr<QWidget> MakeWindow() {
        auto window = std::make_unique<QWidget>();
        window->setObjectName("Form1");
        (new QToolBar(window.get()))->setObjectName("ToolBar1");
        auto* tree = new QTreeWidget(window.get());
        tree->setObjectName("tv1");
        tree->setProperty("storesGeometry", false);
        auto* panel = new QFrame(window.get());
        panel->setObjectName("pLog");
        panel->setProperty("plainPanel", true);
        auto* page = new TPageForm("formHistory", window.get());
        (new QTableWidget(page))->setObjectName("sgHistory");
        (new QTreeWidget(panel))->setObjectName("tvInner");
        return window;
    }
};

} // namespace

TEST_F(GeometryFixture, SavesWindowAndSizedChildren) {
    auto window = MakeWindow();
    window->setGeometry(100, 120, 640, 480);
    window->findChild<QToolBar*>("ToolBar1")->resize(300, 30);
    window->findChild<QFrame*>("pLog")->resize(200, 90);
    ASSERT_EQ(SaveWindowGeometry(*window, path), "");

    TIniFile ini;
    ASSERT_EQ(ini.Open(path), "");
    EXPECT_EQ(ini.Keys("Form1"), QStringList({"xForm.Left", "xForm.Top", "xForm.Height", "xForm.Width",
                                              "xForm.WindowState", "ToolBar1.Width", "pLog.Width",
                                              "pLog.Height", "tvInner.Width", "tvInner.Height"}));
    EXPECT_EQ(ini.ReadInteger("Form1", "xForm.Left", 0), 100);
    EXPECT_EQ(ini.ReadInteger("Form1", "xForm.Top", 0), 120);
    EXPECT_EQ(ini.ReadInteger("Form1", "xForm.Height", 0), 480);
    EXPECT_EQ(ini.ReadInteger("Form1", "xForm.Width", 0), 640);
    EXPECT_EQ(ini.ReadString("Form1", "xForm.WindowState"), "0");
    EXPECT_EQ(ini.ReadInteger("Form1", "ToolBar1.Width", 0), 300);
    EXPECT_EQ(ini.ReadInteger("Form1", "pLog.Height", 0), 90);

    auto restored = MakeWindow();
    ASSERT_EQ(RestoreWindowGeometry(*restored, path), "");
    EXPECT_EQ(restored->geometry(), QRect(100, 120, 640, 480));
    EXPECT_EQ(restored->findChild<QFrame*>("pLog")->size(), QSize(200, 90));
    EXPECT_FALSE(restored->windowState() & Qt::WindowMaximized);
}

TEST_F(GeometryFixture, MaximisedWindowKeepsItsNormalGeometry) {
    auto window = MakeWindow();
    window->setGeometry(100, 120, 640, 480);
    window->show();
    window->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->isMaximized());
    ASSERT_EQ(SaveWindowGeometry(*window, path), "");

    TIniFile ini;
    ASSERT_EQ(ini.Open(path), "");
    EXPECT_EQ(ini.ReadString("Form1", "xForm.WindowState"), "1");
    EXPECT_EQ(ini.ReadInteger("Form1", "xForm.Width", 0), 640);
    EXPECT_EQ(ini.ReadInteger("Form1", "xForm.Height", 0), 480);

    auto restored = MakeWindow();
    ASSERT_EQ(RestoreWindowGeometry(*restored, path), "");
    restored->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(restored->isMaximized());
}

TEST_F(GeometryFixture, WithoutLeftTheWindowIsCentredThenTopApplies) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* file;
        int top; // -1: centred
    } cases[] = {
        {"[Form1]\nxForm.Top=37\nxForm.Width=300\nxForm.Height=200\n", 37},
        {"[Form1]\nxForm.Width=300\nxForm.Height=200\n", -1},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.file);
        auto window = MakeWindow();
        ASSERT_EQ(RestoreWindowGeometry(*window, path), "");
        EXPECT_EQ(window->size(), QSize(300, 200));
        EXPECT_EQ(window->x(), area.x() + (area.width() - 300) / 2) << c.file;
        EXPECT_EQ(window->y(), c.top >= 0 ? c.top : area.y() + (area.height() - 200) / 2) << c.file;
    }
    // No file at all: centred at the designed size.
    QFile::remove(path);
    auto window = MakeWindow();
    window->resize(983, 728);
    ASSERT_EQ(RestoreWindowGeometry(*window, path), "");
    EXPECT_EQ(window->size(), QSize(983, 728));
    EXPECT_EQ(window->x(), area.x() + (area.width() - 983) / 2);
}

TEST(FileDialogFilters, DescriptionsGetTheirPatterns) {
    EXPECT_EQ(FileDialogFilters(u"Файл настроек(*.ini)|*.ini"), QStringList{"Файл настроек(*.ini)"});
    EXPECT_EQ(FileDialogFilters(u"Файл настроек (*.ini)|*.ini|Все файлы (*.*)|*.*"),
              (QStringList{"Файл настроек (*.ini)", "Все файлы (*.*)"}));
    EXPECT_EQ(FileDialogFilters(u"Text Files|*.txt"), QStringList{"Text Files (*.txt)"});
    EXPECT_EQ(FileDialogFilters(u"Tables|*.xls;*.csv"), QStringList{"Tables (*.xls *.csv)"});
}
