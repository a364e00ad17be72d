#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TDevOrvel;
class TIniFile;
class TModem;
class TMsgFile;
class TOutArray;
class TPageForm;
class TSynchronizer;
class TdlgConnect;
class TdlgSplash;
class TfWaiting;
class TformACP;
class TformATests;
class TformCommon;
class TformHistory;
class TformKeys;
class TformLAN;
class TformRazd;
class TformShleif;
class TformUpdateIns;
struct TSettingsTargets;

// The tool's only main window: owns the update queue, the protocol object, the catalogue, the
// eight pages and, while connected, the worker; offers the window's commands.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    struct TOptions {
        QString appDir; // folder of current.ini, windows.ini and Messages.txt
        bool connectOnFirstShow = true;
    };

    explicit TForm1(TOptions options, QWidget* parent = nullptr);
    ~TForm1() override;

    // Commands.
    void mnuConnectClick();
    void tbtnDisconnectClick();
    void tbtnReadClick();
    void tbtnWriteClick();
    void tbtnReadAllClick();
    void tbtnWriteAllClick();
    void tbtnCalcelClick();
    void N1Click();
    void N2Click();
    void Button1Click();
    void RzBitBtn2Click();
    void mnuExitClick() { close(); }
    void mnuAboutClick();
    void mnuSaveClick();
    void mnuLoadClick();
    void SaveLogTo(const QString& path);

    void ShowPage(TPageForm* page);
    // The window's own lock of its commands (the update dialog uses it; the worker posts records).
    void SetCommandsEnabled(bool enabled);
    // Whether a worker exists (connected or connecting).
    bool Connected() const { return m_worker != nullptr; }
    // Hands the worker an operation code; nothing without a worker.
    void RequestOperation(std::uint8_t code);
    // Ends the worker, serving its synchronous calls meanwhile.
    void StopWorker();
    // The common page's reboot: the panel reboots, the worker ends, and the window connects anew.
    void RebootAndReconnect();

    // Parts other modules and the tests reach.
    TOutArray& Queue() { return *m_queue; }
    TDevOrvel& Device() { return *m_device; }
    TModem* Worker() const { return m_worker.get(); }
    TSynchronizer& Sync() { return *m_sync; }
    TdlgConnect& ConnectDialog() { return *m_connectDlg; }
    TdlgSplash& SplashDialog() { return *m_splash; }
    TformUpdateIns& UpdateDialog() { return *m_updateDlg; }
    TMsgFile& Catalogue() { return *m_catalogue; }
    TIniFile& CurrentIni() { return *m_currentIni; }
    QPlainTextEdit* Memo1 = nullptr;
    QTreeWidget* tv1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    std::array<QLabel*, 5> StatusPanels{};
    QProgressBar* RzProgressBar1 = nullptr;

    QToolButton* tbtnConnect = nullptr;
    QToolButton* tbtnDisconnect = nullptr;
    QToolButton* tbtnRead = nullptr;
    QToolButton* tbtnReadAll = nullptr;
    QToolButton* tbtnWrite = nullptr;
    QToolButton* tbtnWriteAll = nullptr;
    QToolButton* tbtnDefault = nullptr;
    QToolButton* tbtnDefaultAll = nullptr;
    QToolButton* tbtnCalcel = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuConnection = nullptr;
    QMenu* mnuPanel = nullptr;
    QMenu* mnuSettings = nullptr;
    QMenu* mnuDebug = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuConnect = nullptr;
    QAction* mnuDisconnect = nullptr;
    QAction* mnuRead = nullptr;
    QAction* mnuWrite = nullptr;
    QAction* mnuReadAll = nullptr;
    QAction* mnuWriteAll = nullptr;
    QAction* mnuUpdate = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuLoad = nullptr;
    QAction* N1 = nullptr; // defaults of this page
    QAction* N2 = nullptr; // all defaults
    QAction* mnuMemo = nullptr;
    QAction* mnuLog = nullptr;
    QAction* mnuAbout = nullptr;

    TformCommon* formCommon = nullptr;
    TformATests* formATests = nullptr;
    TformLAN* formLAN = nullptr;
    TformShleif* formShleif = nullptr;
    TformRazd* formRazd = nullptr;
    TformACP* formACP = nullptr;
    TformKeys* formKeys = nullptr;
    TformHistory* formHistory = nullptr;

    TPageForm* ShownPage() const { return m_shownPage; }
    // The pages in the order of the page tree.
    std::array<TPageForm*, 8> Pages() const;
    TSettingsTargets SettingsTargets();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildActions();
    void BuildToolBar();
    void BuildMenus();
    void BuildCentre();
    void BuildStatusBar();
    void CreatePages();
    void RegisterPageRoutines();
    void Timer1Timer();
    void tv1Change(QTreeWidgetItem* node);
    void FormActivate();
    void SetConnectedCommands(bool connected);
    void PageDefaults(TPageForm* page);
    // The tool buttons and menus an operation locks; the connection also enables the buttons.
    std::vector<QWidget*> LockedToolButtons() const;
    std::vector<QAction*> LockedMenus() const;
    void Shutdown();

    TOptions m_options;
    std::unique_ptr<TIniFile> m_currentIni;
    std::unique_ptr<TMsgFile> m_catalogue;
    std::unique_ptr<TOutArray> m_queue;
    std::unique_ptr<TSynchronizer> m_sync;
    std::unique_ptr<TDevOrvel> m_device;
    std::unique_ptr<TModem> m_worker;
    TdlgSplash* m_splash = nullptr;
    TdlgConnect* m_connectDlg = nullptr;
    TformUpdateIns* m_updateDlg = nullptr;
    TfWaiting* m_waiting = nullptr;
    QWidget* m_pageArea = nullptr;
    TPageForm* m_shownPage = nullptr;
    bool m_activated = false;
    bool m_shutDown = false;
    bool m_inDisconnect = false;
};
