#include "shell/MainForm.h"

#include "firmware/fUpdateIns.h"
#include "history/f_history.h"
#include "link/Modem.h"
#include "pages/MsgFileU.h"
#include "pages/f_ACP.h"
#include "pages/f_ATests.h"
#include "pages/f_Keys.h"
#include "pages/f_LAN.h"
#include "pages/f_common.h"
#include "pages/f_razd.h"
#include "pages/f_sh.h"
#include "protocol/DevOrvel.h"
#include "shell/ConnectDlg.h"
#include "shell/SettingsFile.h"
#include "shell/SplashDlg.h"
#include "shell/fIn.h"
#include "shell/fWaiting.h"
#include "text/Cp1251.h"
#include "ui_queue/OutArray.h"
#include "ui_queue/Synchronize.h"
#include "widgets/MaskEdit.h"
#include "widgets/Panel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <thread>

namespace {

const char* const kCaption = "Настройка \"Орвел 11\" v 1.0.017";

// Page tree: text and page identifier, in tree order.
struct TTreeNode {
    const char* text;
    int identifier;
};
constexpr std::array<TTreeNode, 8> kTree{{
    {"Общие настройки", 16},
    {"Системные события", 20},
    {"Настройка связи", 17},
    {"Параметры шлейфов", 12},
    {"Настройка разделов", 13},
    {"Настройка шлейфов", 1},
    {"Коды", 14},
    {"История", 15},
}};

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback, const QWidget* widget) {
    return QIcon::fromTheme(QLatin1String(name), widget->style()->standardIcon(fallback));
}

} // namespace

TForm1::TForm1(TOptions options, QWidget* parent) : QMainWindow(parent), m_options(std::move(options)) {
    if (m_options.appDir.isEmpty())
        m_options.appDir = AppDir();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kCaption));

    // 1. current.ini, held open until exit.
    m_currentIni = std::make_unique<TIniFile>();
    if (const QString error = m_currentIni->Open(m_options.appDir + QStringLiteral("current.ini"));
        !error.isEmpty())
        QMessageBox::critical(this, windowTitle(), error);

    BuildActions();
    BuildToolBar();
    BuildMenus();
    BuildCentre();
    BuildStatusBar();

    // 4. The event message catalogue, before any page exists.
    m_catalogue = std::make_unique<TMsgFile>();
    const QString messages = m_options.appDir + QStringLiteral("Messages.txt");
    if (!m_catalogue->load(messages)) {
        QTimer::singleShot(0, this, [this, messages, error = m_catalogue->errorString()] {
            QMessageBox::critical(this, windowTitle(),
                                  QStringLiteral("Не удалось прочитать файл %1: %2").arg(messages, error));
        });
    }

    // 6. The service setting, then the window geometry.
    const bool service = ServiceModeEnabled(*m_currentIni);
    mnuUpdate->setVisible(service);
    RzProgressBar1->setVisible(service);
    resize(983, 728);
    RestoreWindowGeometry(*this, m_options.appDir + QStringLiteral("windows.ini"));

    // 7. The queue, then the protocol object.
    m_queue = std::make_unique<TOutArray>();
    m_sync = std::make_unique<TSynchronizer>(*m_queue, this);
    m_device = std::make_unique<TDevOrvel>(*m_queue, *m_sync);

    // 8. Dialogs.
    m_splash = new TdlgSplash(this);
    m_updateDlg = new TformUpdateIns(this);

    CreatePages();
    m_connectDlg = new TdlgConnect(this);

    m_queue->SetApplyContext({Memo1, this, {}});
    TDevOrvel::TWindowLinks links;
    links.statusLine = m_splash->StatusLine;
    links.splashOk = m_splash->HiddenOk;
    links.masterKey = m_connectDlg->meMasterKey;
    links.versionPanel = StatusPanels[2];
    links.pageTree = tv1;
    links.lockedControls = LockedToolButtons();
    links.lockedControls.push_back(formHistory->btnClear);
    links.lockedMenus = LockedMenus();
    links.livePage = formACP;
    links.resetUpdateState = [this] { m_updateDlg->SetState(TformUpdateIns::StateIdle); };
    links.offerUpdate = [this](quint16 major, quint16 minor) { m_updateDlg->OfferUpdate(major, minor); };
    links.showWaiting = [this](bool show) {
        if (show) {
            m_waiting = new TfWaiting(this);
            m_waiting->show();
        } else if (m_waiting) {
            m_waiting->deleteLater();
            m_waiting = nullptr;
        }
    };
    m_device->SetLinks(std::move(links));
    RegisterPageRoutines();

    // 11. The first node shows the common page.
    tv1->setCurrentItem(tv1->topLevelItem(0));
    tv1->expandAll();

    // 12. Everything the user had last time.
    LoadAllSettings(*m_currentIni, SettingsTargets());

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start();
}

TForm1::~TForm1() {
    Shutdown();
}

// ---- Building the window ----------------------------------------------------------------------

void TForm1::BuildActions() {
    auto action = [this](const char* text, const char* name, QKeySequence shortcut = {}) {
        auto* a = new QAction(QString::fromUtf8(text), this);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(shortcut);
        return a;
    };
    mnuExit = action("Выход", "mnuExit", QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuConnect = action("Подключиться", "mnuConnect", QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuDisconnect = action("Отключиться", "mnuDisconnect", QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuRead = action("Прочитать настройки с данной страницы", "mnuRead", QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuWrite = action("Записать настройки с данной страницы", "mnuWrite", QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuReadAll =
        action("Прочитать все настройки", "mnuReadAll", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    mnuWriteAll =
        action("Записать все настройки", "mnuWriteAll", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    mnuUpdate = action("Обновление версии прошивки из файла", "mnuUpdate");
    mnuSave = action("Сохранить", "mnuSave", QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuLoad = action("Загрузить", "mnuLoad", QKeySequence(Qt::CTRL | Qt::Key_L));
    N1 = action("Настройки по умолчанию на данной странице", "N1");
    N2 = action("Все настройки по умолчанию", "N2");
    mnuMemo = action("Показать отладочные сообщения", "mnuMemo");
    mnuLog = action("Записывать информацию в лог файл", "mnuLog");
    mnuAbout = action("О программе", "mnuAbout", QKeySequence(Qt::Key_F1));
    mnuMemo->setCheckable(true);
    mnuLog->setCheckable(true);
    mnuLog->setVisible(false);

    for (QAction* a : {mnuDisconnect, mnuRead, mnuWrite, mnuReadAll, mnuWriteAll, N1, N2})
        a->setEnabled(false);
}

void TForm1::BuildToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto button = [this](const char* name, const char* hint, QIcon icon, void (TForm1::*handler)()) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setEnabled(false);
        connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    tbtnConnect =
        button("tbtnConnect", "Подключиться", ThemeIcon("network-connect", QStyle::SP_DriveNetIcon, this),
               &TForm1::mnuConnectClick);
    tbtnDisconnect =
        button("tbtnDisconnect", "Отключиться", ThemeIcon("network-disconnect", QStyle::SP_BrowserStop, this),
               &TForm1::tbtnDisconnectClick);
    tbtnRead = button("tbtnRead", "Прочитать настройки с данной страницы",
                      ThemeIcon("go-down", QStyle::SP_ArrowDown, this), &TForm1::tbtnReadClick);
    tbtnReadAll =
        button("tbtnReadAll", "Прочитать все настройки",
               ThemeIcon("go-bottom", QStyle::SP_MediaSeekBackward, this), &TForm1::tbtnReadAllClick);
    tbtnWrite = button("tbtnWrite", "Записать настройки с данной страницы",
                       ThemeIcon("go-up", QStyle::SP_ArrowUp, this), &TForm1::tbtnWriteClick);
    tbtnWriteAll = button("tbtnWriteAll", "Записать все настройки",
                          ThemeIcon("go-top", QStyle::SP_MediaSeekForward, this), &TForm1::tbtnWriteAllClick);
    tbtnDefault = button("tbtnDefault", "Настройки по умолчанию на данной странице",
                         ThemeIcon("edit-undo", QStyle::SP_DialogResetButton, this), &TForm1::N1Click);
    tbtnDefaultAll =
        button("tbtnDefaultAll", "Все настройки по умолчанию",
               ThemeIcon("document-revert", QStyle::SP_DialogResetButton, this), &TForm1::N2Click);
    tbtnCalcel =
        button("tbtnCalcel", "Остановить чтение/запись настроек",
               ThemeIcon("process-stop", QStyle::SP_DialogCancelButton, this), &TForm1::tbtnCalcelClick);
    tbtnConnect->setEnabled(true);
    tbtnCalcel->setEnabled(true);

    ToolBar1->addWidget(tbtnConnect);
    ToolBar1->addWidget(tbtnDisconnect);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnRead);
    ToolBar1->addWidget(tbtnReadAll);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnWrite);
    ToolBar1->addWidget(tbtnWriteAll);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnDefault)->setVisible(false);
    ToolBar1->addWidget(tbtnDefaultAll);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnCalcel);
    ToolBar1->addSeparator();
}

void TForm1::BuildMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("Файл"));
    mnuFile->addAction(mnuExit);

    mnuConnection = menuBar()->addMenu(QStringLiteral("Соединение"));
    mnuConnection->addAction(mnuConnect);
    mnuConnection->addAction(mnuDisconnect);

    mnuPanel = menuBar()->addMenu(QStringLiteral("Панель"));
    mnuPanel->addAction(mnuRead);
    mnuPanel->addAction(mnuWrite);
    mnuPanel->addSeparator();
    mnuPanel->addAction(mnuReadAll);
    mnuPanel->addAction(mnuWriteAll);
    mnuPanel->addSeparator();
    mnuPanel->addAction(mnuUpdate);

    mnuSettings = menuBar()->addMenu(QStringLiteral("Настройки"));
    mnuSettings->addAction(mnuSave);
    mnuSettings->addAction(mnuLoad);
    mnuSettings->addSeparator();
    mnuSettings->addAction(N1);
    mnuSettings->addAction(N2);

    mnuDebug = menuBar()->addMenu(QStringLiteral("Отладка"));
    mnuDebug->addAction(mnuMemo);
    mnuDebug->addAction(mnuLog);
    mnuDebug->menuAction()->setVisible(false);

    mnuHelp = menuBar()->addMenu(QStringLiteral("Помощь"));
    mnuHelp->addAction(mnuAbout);

    // Entries act only while their menu is enabled: Qt lets the short-cut of an entry fire even
    // when its menu is locked, and a locked menu must keep Ctrl+L from loading pages mid-read.
    auto entry = [this](QAction* action, QMenu* menu, std::function<void()> handler) {
        connect(action, &QAction::triggered, this, [menu, handler = std::move(handler)] {
            if (menu->menuAction()->isEnabled())
                handler();
        });
    };
    entry(mnuExit, mnuFile, [this] { mnuExitClick(); });
    entry(mnuConnect, mnuConnection, [this] { mnuConnectClick(); });
    entry(mnuDisconnect, mnuConnection, [this] { tbtnDisconnectClick(); });
    // The entries of this menu click the matching tool buttons.
    entry(mnuRead, mnuPanel, [this] { tbtnRead->click(); });
    entry(mnuWrite, mnuPanel, [this] { tbtnWrite->click(); });
    entry(mnuReadAll, mnuPanel, [this] { tbtnReadAll->click(); });
    entry(mnuWriteAll, mnuPanel, [this] { tbtnWriteAll->click(); });
    entry(mnuSave, mnuSettings, [this] { mnuSaveClick(); });
    entry(mnuLoad, mnuSettings, [this] { mnuLoadClick(); });
    entry(N1, mnuSettings, [this] { N1Click(); });
    entry(N2, mnuSettings, [this] { N2Click(); });
    entry(mnuAbout, mnuHelp, [this] { mnuAboutClick(); });
}

void TForm1::BuildCentre() {
    tv1 = new QTreeWidget(this);
    tv1->setObjectName(QStringLiteral("tv1"));
    tv1->setProperty("storesGeometry", false); // only the tool bar keeps its size in windows.ini
    tv1->setHeaderHidden(true);
    tv1->setRootIsDecorated(false);
    tv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const TTreeNode& node : kTree) {
        auto* item = new QTreeWidgetItem(tv1, QStringList{QString::fromUtf8(node.text)});
        item->setData(0, Qt::UserRole, node.identifier);
    }
    connect(tv1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node, QTreeWidgetItem*) { tv1Change(node); });

    m_pageArea = new QWidget(this);
    m_pageArea->setObjectName(QStringLiteral("pPages"));
    auto* pageLayout = new QGridLayout(m_pageArea);
    pageLayout->setContentsMargins(0, 0, 0, 0);

    auto* upper = new QSplitter(Qt::Horizontal, this);
    upper->addWidget(tv1);
    upper->addWidget(m_pageArea);
    upper->setStretchFactor(1, 1);
    upper->setSizes({180, 800});
    upper->setChildrenCollapsible(false);

    auto* logPanel = new QWidget(this);
    Memo1 = new QPlainTextEdit(logPanel);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette info = Memo1->palette();
    info.setColor(QPalette::Base, info.color(QPalette::ToolTipBase));
    info.setColor(QPalette::Text, info.color(QPalette::ToolTipText));
    Memo1->setPalette(info);
    auto* clear = new QPushButton(QStringLiteral("Очистить"), logPanel);
    clear->setObjectName(QStringLiteral("RzBitBtn1"));
    auto* save = new QPushButton(QStringLiteral("Сохранить"), logPanel);
    save->setObjectName(QStringLiteral("RzBitBtn2"));
    connect(clear, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(save, &QPushButton::clicked, this, &TForm1::RzBitBtn2Click);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(clear);
    buttons->addWidget(save);
    buttons->addStretch();
    auto* logLayout = new QHBoxLayout(logPanel);
    logLayout->setContentsMargins(0, 0, 0, 0);
    logLayout->addWidget(Memo1, 1);
    logLayout->addLayout(buttons);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(upper);
    split->addWidget(logPanel);
    split->setStretchFactor(0, 9);
    split->setStretchFactor(1, 1);
    split->setSizes({600, 67});
    split->setChildrenCollapsible(false);
    setCentralWidget(split);
}

void TForm1::BuildStatusBar() {
    constexpr std::array<int, 5> kWidths{55, 100, 100, 100, 200};
    const std::array<QString, 5> texts{QStringLiteral("Com-порт:"), QStringLiteral("Телефон:"),
                                       QStringLiteral("Версия прошивки:"), QString(), QString()};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(texts[i], statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setMinimumWidth(kWidths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i < 3)
            panel->setAlignment(Qt::AlignCenter);
        statusBar()->addWidget(panel, i == 4 ? 1 : 0);
        StatusPanels[i] = panel;
    }
    // The firmware progress bar sits inside the last panel.
    RzProgressBar1 = new QProgressBar(StatusPanels[4]);
    RzProgressBar1->setObjectName(QStringLiteral("RzProgressBar1"));
    RzProgressBar1->setTextVisible(false);
    auto* inner = new QHBoxLayout(StatusPanels[4]);
    inner->setContentsMargins(2, 1, 2, 1);
    inner->addWidget(RzProgressBar1);
}

void TForm1::CreatePages() {
    // Created in this order; each sits in the page area.
    formHistory = new TformHistory(m_pageArea);
    formACP = new TformACP(m_pageArea);
    formKeys = new TformKeys(m_pageArea);
    formRazd = new TformRazd(m_pageArea);
    formShleif = new TformShleif(m_pageArea);
    formLAN = new TformLAN(m_pageArea);
    formATests = new TformATests(m_pageArea);
    formCommon = new TformCommon(m_pageArea);
    auto* layout = static_cast<QGridLayout*>(m_pageArea->layout());
    for (TPageForm* page : Pages())
        layout->addWidget(page, 0, 0);
}

std::array<TPageForm*, 8> TForm1::Pages() const {
    return {formCommon, formATests, formLAN, formShleif, formRazd, formACP, formKeys, formHistory};
}

void TForm1::RegisterPageRoutines() {
    TDevOrvel& device = *m_device;
    std::map<TPageForm*, TDevOrvel::TPageEntry> entries;
    entries[formCommon] = {formCommon,
                           {{[&device, page = formCommon] { ReadCommonSettings(device, *page); }}},
                           {{[&device, page = formCommon] { WriteCommonSettings(device, *page); }}}};
    for (TPageForm* page : Pages()) {
        TDevOrvel::TPageEntry entry = entries.count(page) ? entries[page] : TDevOrvel::TPageEntry{};
        entry.page = page;
        entry.inWriteAll = page != formHistory;
        device.RegisterPage(std::move(entry));
    }
    device.RegisterOperation(
        OpWriteTexts, [&device, catalogue = m_catalogue.get()] { WriteSystemTexts(device, *catalogue); });
    formCommon->requestOperation = [this](std::uint8_t code) { RequestOperation(code); };
    formCommon->rebootAndReconnect = [this] { RebootAndReconnect(); };
}

void TForm1::RebootAndReconnect() {
    if (!m_worker)
        return;
    RequestOperation(OpReboot);
    m_sync->WaitForThread(*m_worker);
    // The ended worker's queued disconnect click finds the button disabled.
    tbtnDisconnectClick();
    mnuConnectClick();
}

// ---- Timer and page tree ----------------------------------------------------------------------

void TForm1::Timer1Timer() {
    Timer1->stop();
    if (m_queue->PeekKind() != 0)
        m_queue->DrainQueue();
    m_sync->ServePending();
    QCoreApplication::processEvents();
    if (!m_shutDown)
        Timer1->start();
}

void TForm1::tv1Change(QTreeWidgetItem* node) {
    if (!node)
        return;
    const int identifier = node->data(0, Qt::UserRole).toInt();
    TPageForm* page = nullptr;
    switch (identifier) {
    case 16:
        page = formCommon;
        break;
    case 20:
        page = formATests;
        break;
    case 17:
        page = formLAN;
        break;
    case 12:
        page = formShleif;
        break;
    case 13:
        page = formRazd;
        break;
    case 14:
        page = formKeys;
        break;
    case 15:
        page = formHistory;
        break;
    default:
        if (identifier >= 1 && identifier <= 8)
            page = formACP;
        break;
    }
    if (page)
        ShowPage(page);
}

void TForm1::ShowPage(TPageForm* page) {
    for (TPageForm* other : Pages()) {
        if (other != page)
            other->hide();
    }
    page->show();
    m_shownPage = page;
    m_device->CurrentPage.store(page);
}

// ---- Connection -------------------------------------------------------------------------------

bool TForm1::event(QEvent* e) {
    // The first activation; a desktop without a window manager never activates the window, so
    // the first showing counts as well.
    if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) && !m_activated) {
        m_activated = true;
        if (m_options.connectOnFirstShow)
            QTimer::singleShot(0, this, &TForm1::FormActivate);
    }
    return QMainWindow::event(e);
}

void TForm1::FormActivate() {
    mnuConnectClick();
}

void TForm1::StopWorker() {
    if (!m_worker)
        return;
    m_worker->RequestStop();
    m_sync->WaitForThread(*m_worker);
    m_device->SetWorker(nullptr);
    m_worker.reset();
}

void TForm1::mnuConnectClick() {
    if (m_updateDlg->State() == TformUpdateIns::StateFinished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        QCoreApplication::processEvents();
    } else if (m_connectDlg->exec() != QDialog::Accepted) {
        return;
    }
    StopWorker();
    const QString port = m_connectDlg->PortName();
    m_worker = std::make_unique<TModem>(
        port, [device = m_device.get()](std::uint8_t code) { device->RunOperation(code); }, *m_queue, *m_sync,
        TModemLinks{m_splash->StatusLine, tbtnDisconnect});
    StatusPanels[0]->setText(port);
    StatusPanels[1]->clear();
    m_splash->StatusLine->clear();
    m_device->SetWorker(m_worker.get());
    m_worker->start();
    if (m_splash->exec() == QDialog::Accepted && m_worker && !m_worker->StopRequested()) {
        SetConnectedCommands(true);
    } else {
        StopWorker();
        SetConnectedCommands(false);
    }
}

void TForm1::SetConnectedCommands(bool connected) {
    mnuConnect->setEnabled(!connected);
    tbtnConnect->setEnabled(!connected);
    mnuDisconnect->setEnabled(connected);
    for (QWidget* control : LockedToolButtons())
        control->setEnabled(connected);
    for (QAction* entry : {mnuRead, mnuWrite, mnuReadAll, mnuWriteAll, N1, N2})
        entry->setEnabled(connected);
    formHistory->btnClear->setEnabled(connected);
    if (!connected) {
        formHistory->btnBackward->setEnabled(false);
        formHistory->Button2->setEnabled(false);
    }
    formCommon->SetServiceButtonsEnabled(connected);
}

void TForm1::tbtnDisconnectClick() {
    // A click queued by the ending worker may arrive while a disconnect already runs.
    if (m_inDisconnect)
        return;
    m_inDisconnect = true;
    m_device->HistoryPosition.store(-1);
    StopWorker();
    SetConnectedCommands(false);
    m_inDisconnect = false;
}

void TForm1::RequestOperation(std::uint8_t code) {
    if (m_worker)
        m_worker->SetOperation(code);
}

// ---- Page commands ----------------------------------------------------------------------------

void TForm1::tbtnReadClick() {
    if (!m_worker || !m_shownPage)
        return;
    ApplyClearRule(*m_shownPage);
    // Pages that need more than the clear rule before a read.
    if (m_shownPage == formHistory)
        formHistory->ResetGrid();
    else if (m_shownPage == formLAN || m_shownPage == formRazd || m_shownPage == formShleif)
        static_cast<TformIncl*>(m_shownPage)->ClearFields();
    else if (m_shownPage == formATests)
        formATests->RestoreDelayDefault();
    RequestOperation(OpReadPage);
}

void TForm1::tbtnWriteClick() {
    if (!m_worker || !m_shownPage)
        return;
    ApplyMarkReset(*m_shownPage);
    RequestOperation(OpWritePage);
}

void TForm1::tbtnReadAllClick() {
    if (!m_worker)
        return;
    ApplyClearRule(*formCommon);
    ApplyClearRule(*formKeys);
    formHistory->ResetGrid();
    RequestOperation(OpReadAll);
}

void TForm1::tbtnWriteAllClick() {
    if (!m_worker)
        return;
    ApplyMarkReset(*formCommon);
    ApplyMarkReset(*formKeys);
    RequestOperation(OpWriteAll);
}

void TForm1::tbtnCalcelClick() {
    m_device->Aborted.store(true);
}

void TForm1::PageDefaults(TPageForm* page) {
    if (page == formHistory)
        formHistory->RestoreColumnWidths();
    else if (page == formATests || page == formCommon || page == formLAN)
        ApplyHintDefaults(*page);
    else if (page)
        static_cast<TformIncl*>(page)->SetDefaults();
}

void TForm1::N1Click() {
    PageDefaults(m_shownPage);
}

void TForm1::N2Click() {
    for (TPageForm* page : std::initializer_list<TPageForm*>{formATests, formKeys, formRazd, formShleif,
                                                             formCommon, formLAN, formHistory, formACP})
        PageDefaults(page);
}

void TForm1::SetCommandsEnabled(bool enabled) {
    tv1->setEnabled(enabled);
    for (QWidget* control : LockedToolButtons())
        control->setEnabled(enabled);
    for (QAction* menu : LockedMenus())
        menu->setEnabled(enabled);
}

std::vector<QWidget*> TForm1::LockedToolButtons() const {
    return {tbtnDisconnect, tbtnRead, tbtnWrite, tbtnReadAll, tbtnWriteAll, tbtnDefault, tbtnDefaultAll};
}

std::vector<QAction*> TForm1::LockedMenus() const {
    return {mnuFile->menuAction(), mnuConnection->menuAction(), mnuSettings->menuAction(),
            mnuHelp->menuAction(), mnuPanel->menuAction(),      mnuUpdate};
}

// ---- Log, settings files, about ---------------------------------------------------------------

void TForm1::Button1Click() {
    Memo1->clear();
}

void TForm1::SaveLogTo(const QString& path) {
    // The memo's lines in the ANSI code page, CR LF after each.
    QByteArray bytes = ToCp1251(Memo1->toPlainText());
    bytes.replace("\n", "\r\n");
    if (!bytes.isEmpty())
        bytes.append("\r\n");
    if (const QString error = WriteFileAtomically(path, bytes); !error.isEmpty())
        QMessageBox::critical(this, windowTitle(), error);
}

void TForm1::RzBitBtn2Click() {
    QFileDialog dialog(this);
    dialog.setNameFilters(FileDialogFilters(u"Text Files|*.txt"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SaveLogTo(dialog.selectedFiles().first());
}

TSettingsTargets TForm1::SettingsTargets() {
    TSettingsTargets targets;
    targets.comPort = m_connectDlg->ComPorts;
    targets.masterKey = m_connectDlg->meMasterKey;
    targets.debugMemo = mnuMemo;
    targets.debugLog = mnuLog;
    targets.formCommon = formCommon;
    targets.formLAN = formLAN;
    targets.formKeys = formKeys;
    targets.formShleif = formShleif;
    targets.formRazd = formRazd;
    targets.formACP = formACP;
    return targets;
}

void TForm1::mnuSaveClick() {
    SaveSettingsCommand(this, SettingsTargets());
}

void TForm1::mnuLoadClick() {
    LoadSettingsCommand(this, SettingsTargets());
}

void TForm1::mnuAboutClick() {
    QMessageBox about(this);
    about.setWindowTitle(QStringLiteral("О программе"));
    about.setIconPixmap(windowIcon().pixmap(48, 48));
    about.setText(QStringLiteral("<b>Настройка \"Орвел 11\"</b><br>Версия 1.0.017"));
    about.setInformativeText(QStringLiteral("Настройка охранно-пожарной панели \"Орвел 11\" через COM порт: "
                                            "параметры, журнал событий, прошивка."));
    about.setStandardButtons(QMessageBox::Ok);
    about.exec();
}

// ---- Shut-down --------------------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* e) {
    Shutdown();
    e->accept();
}

void TForm1::Shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    SaveWindowGeometry(*this, m_options.appDir + QStringLiteral("windows.ini"));
    if (Timer1)
        Timer1->stop();
    StopWorker();
    SaveAllSettings(*m_currentIni, SettingsTargets());
    if (const QString error = m_currentIni->Save(); !error.isEmpty())
        QMessageBox::critical(this, windowTitle(), error);
}
