#pragma once

#include "protocol/OpCodes.h"
#include "protocol/device.h"

#include <QColor>
#include <QElapsedTimer>
#include <QString>

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QAbstractButton;
class QAction;
class QLabel;
class QWidget;
class TModem;
class TOutArray;
class TSynchronizer;

// The value of a reply: the last line before the first "OK", trimmed.
QString StripReply(const QString& raw);
// Every blank becomes "0".
QString SpacesToZeros(const QString& text);

// The two numbers of a firmware version text: the three characters after the first "." (the first
// three when there is none) and the last three. Empty when either is not a decimal number.
struct TVersionNumbers {
    quint16 major = 0;
    quint16 minor = 0;
};
std::optional<TVersionNumbers> ParseVersionNumbers(const QString& version);

// The panel protocol object: request routines, worker operations and page orchestration. Everything
// but the set-up calls runs on the worker thread (or, for the three long-wait requests, on whoever
// holds the port while the worker is held).
class TDevOrvel : public TDevice {
  public:
    // Controls of the main window the protocol touches, through the update queue or Synchronize.
    struct TWindowLinks {
        QWidget* statusLine = nullptr;       // the connection dialog's status line
        QAbstractButton* splashOk = nullptr; // its hidden OK button
        QWidget* masterKey = nullptr;        // the connect dialog's master key field
        QLabel* versionPanel = nullptr;      // status bar panel "Версия прошивки:"
        QWidget* pageTree = nullptr;
        std::vector<QWidget*> lockedControls; // tool buttons and page buttons locked by operations
        std::vector<QAction*> lockedMenus;    // menus and menu entries locked by operations
        QWidget* livePage = nullptr;          // the page whose shown state makes the idle poll run
        // Synchronous calls into the main thread.
        std::function<void()> resetUpdateState;
        std::function<void(quint16 major, quint16 minor)> offerUpdate;
        std::function<void(bool show)> showWaiting;
    };

    // One routine of a page; some run only outside a read-all or write-all.
    struct TPageStep {
        std::function<void()> run;
        bool outsideBulkOnly = false;
    };
    struct TPageEntry {
        QWidget* page = nullptr;
        std::vector<TPageStep> read;
        std::vector<TPageStep> write;
        bool inWriteAll = true;
    };

    static constexpr int kDefaultTimeoutMs = 4500;
    static constexpr int kDefaultAttempts = 3;

    TDevOrvel(TOutArray& queue, TSynchronizer& sync);

    // Set-up, main thread, before a worker starts.
    void SetLinks(TWindowLinks links) { m_links = std::move(links); }
    void SetWorker(TModem* worker) { m_worker.store(worker); }
    TModem* Worker() const { return m_worker.load(); }
    // Pages in the order of the page tree; the walk of read-all and write-all follows it.
    void RegisterPage(TPageEntry entry) { m_pages.push_back(std::move(entry)); }
    // Operations whose bodies live with their pages (history, event texts).
    void RegisterOperation(std::uint8_t code, std::function<void()> body) {
        m_operations[code] = std::move(body);
    }

    TOutArray& Queue() { return m_queue; }
    TSynchronizer& Sync() { return m_sync; }
    const TWindowLinks& Links() const { return m_links; }

    // TDevice
    void ReadPage() override;
    void WritePage() override;
    void ReadAll() override;
    void WriteAll() override;
    void RunOperation(std::uint8_t code) override;

    // Request routines.
    bool Request(const QString& command, QString& reply, int delayMs = 0, bool log = true,
                 const QString& terminator = QStringLiteral("OK"), int timeoutMs = kDefaultTimeoutMs,
                 int attempts = kDefaultAttempts);
    bool RequestShortWait(const QString& command, QString& reply, bool log = true);
    bool RequestMidWait(const QString& command, QString& reply, bool log = true);
    bool RequestLongWait(const QString& command, QString& reply, bool log = true);
    QString QueryField(const QString& command, QWidget* label, QString& reply);
    QString QueryFieldFlag(const QString& command, QWidget* label, QString& reply, bool& failed);
    void ReadNumberField(QWidget* field, const QString& command, QWidget* label);
    void WriteNumberField(QWidget* field, const QString& prefix, int digits, QWidget* label);
    bool RequestQuiet(const QString& command, QString& reply);
    bool Command(const QString& command);
    void AbortAndStop();

    // Reading controls from the worker: through the main thread.
    void Synchronize(const std::function<void()>& fn);
    QString FieldText(QWidget* field);
    bool StopRequested() const;

    // Worker operations.
    void ConnectPanel();
    bool Authorize(const QString& key, QString& message);
    void StopPanel();
    void StartPanel();
    void RebootPanel();
    void LampTest();
    void EraseHistory();
    void Idle();
    void PollLiveReadings();
    void DisableControls();
    void EnableControls();

    // Shared with the main thread. CurrentPage: written by the main thread (page change) and by the
    // worker (read-all, write-all). Aborted: the window's cancel and the worker. BulkMode: the worker.
    // IdleSuspended: the firmware update. HistoryPosition: the worker, and the window at disconnect.
    std::atomic<QWidget*> CurrentPage{nullptr};
    std::atomic<bool> Aborted{false};
    std::atomic<bool> BulkMode{false};
    std::atomic<bool> IdleSuspended{false};
    std::atomic<int> HistoryPosition{-1};

    // Written by the worker while connecting; the main thread reads them inside the synchronous
    // calls that follow, or once the worker has ended.
    QString VersionText;
    quint16 VersionMajor = 0;
    quint16 VersionMinor = 0;

  private:
    void PostStatusLine(const QString& text);
    // The exchange of the single-number fields: not strict; false, with the label red, on failure.
    bool NumberExchange(TModem& worker, const QString& command, QString& reply, QWidget* label);
    void RunPage(bool write);
    void Walk(bool write);
    TPageEntry* EntryOf(QWidget* page);
    void LogHidden(const QString& text);

    TOutArray& m_queue;
    TSynchronizer& m_sync;
    TWindowLinks m_links;
    std::atomic<TModem*> m_worker{nullptr}; // written by the main thread between connections
    std::vector<TPageEntry> m_pages;
    std::map<std::uint8_t, std::function<void()>> m_operations;
    QElapsedTimer m_lastPoll; // worker only
};
