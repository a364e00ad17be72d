#include "protocol/DevOrvel.h"

#include "link/Modem.h"
#include "ui_queue/OutArray.h"
#include "ui_queue/StatusColour.h"
#include "ui_queue/Synchronize.h"
#include "widgets/MaskEdit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <thread>

namespace {

bool IsBlankOrControl(QChar c) {
    return c.unicode() <= 32;
}

QString TrimBlanksAndControls(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && IsBlankOrControl(text[start]))
        ++start;
    while (end > start && IsBlankOrControl(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

std::optional<quint16> StrictDecimal(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value > 0xFFFF)
        return std::nullopt;
    return quint16(value);
}

const QString kOk = QStringLiteral("OK");
const QString kEquals81 = QString(81, QLatin1Char('='));

} // namespace

QString StripReply(const QString& raw) {
    qsizetype i = raw.indexOf(kOk, 0, Qt::CaseSensitive);
    if (i < 0)
        return {};
    while (i > 0 && raw[i - 1] == QLatin1Char('\r'))
        --i;
    QString s = TrimBlanksAndControls(raw.left(i));
    for (qsizetype cr = s.indexOf(QLatin1Char('\r')); cr >= 0; cr = s.indexOf(QLatin1Char('\r')))
        s = s.mid(cr + 1, 255);
    return s;
}

QString SpacesToZeros(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char(' '), QLatin1Char('0'));
    return out;
}

std::optional<TVersionNumbers> ParseVersionNumbers(const QString& version) {
    const qsizetype dot = version.indexOf(QLatin1Char('.'));
    const QString majorText = dot >= 0 ? version.mid(dot + 1, 3) : version.left(3);
    const auto major = StrictDecimal(majorText);
    const auto minor = StrictDecimal(version.right(3));
    if (!major || !minor)
        return std::nullopt;
    return TVersionNumbers{*major, *minor};
}

TDevOrvel::TDevOrvel(TOutArray& queue, TSynchronizer& sync) : m_queue(queue), m_sync(sync) {
    m_lastPoll.start();
}

bool TDevOrvel::StopRequested() const {
    TModem* worker = m_worker.load();
    return !worker || worker->StopRequested();
}

void TDevOrvel::Synchronize(const std::function<void()>& fn) {
    m_sync.Synchronize(fn);
}

QString TDevOrvel::FieldText(QWidget* field) {
    QString text;
    Synchronize([&] {
        if (auto* masked = qobject_cast<TMaskEdit*>(field))
            text = masked->EditText();
        else if (auto* edit = qobject_cast<QLineEdit*>(field))
            text = edit->text();
        else if (auto* combo = qobject_cast<QComboBox*>(field))
            text = combo->currentText();
        else if (auto* button = qobject_cast<QAbstractButton*>(field))
            text = button->text();
    });
    return text;
}

// ---- Request routines -------------------------------------------------------------------------

bool TDevOrvel::Request(const QString& command, QString& reply, int delayMs, bool log,
                        const QString& terminator, int timeoutMs, int attempts) {
    reply.clear();
    TModem* worker = m_worker.load();
    if (!worker || worker->StopRequested())
        return false;
    bool ok = false;
    for (int attempt = 1; attempt <= attempts && !worker->StopRequested() && !ok; ++attempt) {
        const bool failed = worker->SendCommand(command, reply, delayMs, log, true, terminator, timeoutMs, 1);
        if (failed) {
            worker->CheckReply(reply);
            reply.clear();
        } else if (worker->CheckReply(reply) == ReplyClean) {
            reply = StripReply(reply);
            ok = true;
        } else {
            reply.clear();
            Aborted.store(true);
        }
    }
    return ok;
}

bool TDevOrvel::RequestShortWait(const QString& command, QString& reply, bool log) {
    return Request(command, reply, 0, log, kOk, 2500, 1);
}

bool TDevOrvel::RequestMidWait(const QString& command, QString& reply, bool log) {
    return Request(command, reply, 0, log, kOk, 5000, 1);
}

bool TDevOrvel::RequestLongWait(const QString& command, QString& reply, bool log) {
    return Request(command, reply, 0, log, kOk, 15000, 1);
}

QString TDevOrvel::QueryFieldFlag(const QString& command, QWidget* label, QString& reply, bool& failed) {
    failed = true;
    reply.clear();
    TModem* worker = m_worker.load();
    if (!worker || worker->StopRequested())
        return reply;
    m_queue.PostColor(label, QColor());
    if (worker->SendCommand(command, reply, 0, true, true, kOk, kDefaultTimeoutMs, kDefaultAttempts)) {
        m_queue.PostColor(label, kStatusRed);
        worker->CheckReply(reply);
        reply.clear();
    } else if (worker->CheckReply(reply) == ReplyClean) {
        reply = StripReply(reply);
        m_queue.PostColor(label, kStatusBlue);
        failed = false;
    } else {
        m_queue.PostColor(label, kStatusRed);
        reply.clear();
    }
    return reply;
}

QString TDevOrvel::QueryField(const QString& command, QWidget* label, QString& reply) {
    bool failed = false;
    return QueryFieldFlag(command, label, reply, failed);
}

bool TDevOrvel::NumberExchange(TModem& worker, const QString& command, QString& reply, QWidget* label) {
    const bool failed =
        worker.SendCommand(command, reply, 0, true, false, kOk, kDefaultTimeoutMs, kDefaultAttempts);
    // A failed exchange still runs the check for its link-loss effect.
    if (worker.CheckReply(reply) != ReplyClean || failed) {
        m_queue.PostColor(label, kStatusRed);
        return false;
    }
    return true;
}

void TDevOrvel::ReadNumberField(QWidget* field, const QString& command, QWidget* label) {
    TModem* worker = m_worker.load();
    if (!worker || worker->StopRequested())
        return;
    m_queue.PostColor(label, QColor());
    QString reply;
    if (!NumberExchange(*worker, command, reply, label))
        return;
    // A leading zero makes an empty value read as 0.
    bool ok = false;
    const qulonglong value = (QLatin1Char('0') + StripReply(reply)).toULongLong(&ok, 16);
    if (!ok) {
        m_queue.PostColor(label, kStatusRed);
        return;
    }
    m_queue.PostControl(field, QString::number(value));
    m_queue.PostColor(label, kStatusBlue);
}

void TDevOrvel::WriteNumberField(QWidget* field, const QString& prefix, int digits, QWidget* label) {
    TModem* worker = m_worker.load();
    if (!worker || worker->StopRequested())
        return;
    m_queue.PostColor(label, QColor());
    const QString text = FieldText(field);
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok, 10);
    if (!ok || number < 0) {
        m_queue.PostColor(label, kStatusRed);
        return;
    }
    const QString command =
        prefix + QString::number(number, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
    QString reply;
    if (!NumberExchange(*worker, command, reply, label))
        return;
    m_queue.PostControl(field, text); // a masked edit re-applies its mask
    m_queue.PostColor(label, kStatusBlue);
}

bool TDevOrvel::RequestQuiet(const QString& command, QString& reply) {
    reply.clear();
    TModem* worker = m_worker.load();
    if (!worker || worker->StopRequested())
        return false;
    for (int attempt = 0; attempt < kDefaultAttempts && !worker->StopRequested(); ++attempt) {
        if (worker->SendCommand(command, reply, 0, true, true, kOk, kDefaultTimeoutMs, 1)) {
            worker->CheckReply(reply);
            reply.clear();
        } else if (worker->CheckReply(reply) == ReplyClean) {
            reply = StripReply(reply);
            return true;
        } else {
            reply.clear();
        }
    }
    return false;
}

bool TDevOrvel::Command(const QString& command) {
    QString reply;
    return RequestQuiet(command, reply);
}

void TDevOrvel::AbortAndStop() {
    Aborted.store(true);
    if (TModem* worker = m_worker.load())
        worker->RequestStop();
}

// ---- Worker operations ------------------------------------------------------------------------

void TDevOrvel::PostStatusLine(const QString& text) {
    m_queue.PostControl(m_links.statusLine, text);
}

void TDevOrvel::RunOperation(std::uint8_t code) {
    TModem* worker = m_worker.load();
    if (!worker)
        return;
    switch (code) {
    case OpIdle:
        Idle();
        return;
    case OpConnect:
        ConnectPanel();
        return;
    case OpReadPage:
        ReadPage();
        break;
    case OpWritePage:
        WritePage();
        break;
    case OpReadAll:
        ReadAll();
        break;
    case OpWriteAll:
        WriteAll();
        break;
    case OpStartPanel:
        StartPanel();
        break;
    case OpStopPanel:
        StopPanel();
        break;
    case OpEraseHistory:
        EraseHistory();
        return;
    case OpReboot:
        RebootPanel();
        return;
    case OpLampTest:
        LampTest();
        break;
    case OpHistoryBack:
    case OpHistoryForward:
    case OpReadHistory:
    case OpWriteTexts:
        if (auto it = m_operations.find(code); it != m_operations.end() && it->second)
            it->second();
        break;
    default:
        break;
    }
    worker->SetOperation(OpIdle);
}

bool TDevOrvel::Authorize(const QString& key, QString& message) {
    message.clear();
    if (key == QLatin1String("6183"))
        return true; // the factory key needs no login
    bool ok = false;
    const int number = key.toInt(&ok, 10);
    if (!ok)
        return false;
    TModem& worker = *m_worker.load();
    const QString digits = QString::number(number).rightJustified(4, QLatin1Char('0'));
    worker.Log(QStringLiteral("Авторизация: +id=") + digits + QLatin1Char('\r'));
    worker.WriteText(QStringLiteral("+id=") + digits + QLatin1Char('\r'));
    QString reply;
    worker.ReadUntilAny(reply, {QStringLiteral("OK"), QStringLiteral("ERR"), QStringLiteral("IGN")}, 4500);
    worker.Log(QStringLiteral("Ответ: ") + reply);
    if (reply.contains(QLatin1String("OK")))
        return true;
    if (reply.contains(QLatin1String("ERR"))) {
        message = QStringLiteral("Ошибка авторизации! Неправильно введен мастер-код!");
        return false;
    }
    if (reply.contains(QLatin1String("IGN"))) {
        message =
            QStringLiteral("Ошибка авторизации! Панель будет игнорировать команды на протяжении минуты!");
        return false;
    }
    return true; // a silent panel counts as logged in
}

void TDevOrvel::ConnectPanel() {
    TModem& worker = *m_worker.load();
    const QString key = FieldText(m_links.masterKey);
    QString message;
    if (!Authorize(key, message)) {
        PostStatusLine(message);
        worker.RequestStop();
        return;
    }
    StopPanel();
    PostStatusLine(QStringLiteral("Идёт проверка версии!"));
    QString reply;
    Request(QStringLiteral("+v"), reply, 0, true, QStringLiteral("OK\r"), 1000, 6);
    if (reply.isEmpty()) {
        PostStatusLine(QStringLiteral("ОШИБКА! Устройство не ответило!"));
        worker.RequestStop();
    } else {
        worker.Log(QStringLiteral(" # ") + reply);
        if (worker.CheckReply(reply) == LinkLost) {
            PostStatusLine(QStringLiteral("ОШИБКА! Сбой соединения"));
            worker.RequestStop();
        } else {
            m_queue.PostStatus(reply, m_links.versionPanel);
            VersionText = reply;
            if (const auto numbers = ParseVersionNumbers(reply)) {
                VersionMajor = numbers->major;
                VersionMinor = numbers->minor;
            } else {
                PostStatusLine(QStringLiteral("ОШИБКА при проверки версии!"));
                worker.RequestStop();
            }
        }
    }
    worker.SetOperation(OpIdle);
    if (worker.StopRequested())
        return;
    PostStatusLine(QStringLiteral("СОЕДИНЕНИЕ УСТАНОВЛЕНО"));
    m_queue.PostControl(m_links.splashOk, QStringLiteral("Click"));
    if (worker.StopRequested())
        return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (m_links.resetUpdateState)
        Synchronize(m_links.resetUpdateState);
    if (m_links.offerUpdate) {
        const quint16 major = VersionMajor;
        const quint16 minor = VersionMinor;
        Synchronize([&] { m_links.offerUpdate(major, minor); });
    }
}

namespace {

// What is left of a "+sp" reply once the echo and the "OK" are gone.
QString StopReplyLeftover(QString reply) {
    const qsizetype echo = reply.indexOf(QLatin1String("+sp"));
    if (echo >= 0)
        reply.remove(echo, 3);
    const qsizetype ok = reply.indexOf(QLatin1String("OK"));
    if (ok >= 0)
        reply.remove(ok, 2);
    return TrimBlanksAndControls(reply);
}

} // namespace

void TDevOrvel::StopPanel() {
    TModem& worker = *m_worker.load();
    for (int i = 0; i < 3; ++i)
        worker.WriteText(QStringLiteral("[\r"));
    QString reply;
    do {
        worker.WriteText(QStringLiteral("+sp\r"));
        worker.Log(QStringLiteral("+sp"));
        worker.ReadUntil(reply, 200, QStringLiteral("OK"));
        worker.Log(reply);
        // Pending event text comes before the first "OK": ask again until only the echo is left.
    } while (!StopReplyLeftover(reply).isEmpty());
}

void TDevOrvel::StartPanel() {
    TModem& worker = *m_worker.load();
    worker.WriteText(QStringLiteral("+qt\r"));
    worker.Log(QStringLiteral("com<-+qt"));
    QString reply;
    worker.WaitReply(reply, 600, QStringLiteral("OK"));
    worker.Log(reply);
}

void TDevOrvel::RebootPanel() {
    TModem& worker = *m_worker.load();
    try {
        worker.WriteText(QStringLiteral("+rb\r"));
        worker.Log(QStringLiteral("com<-+rb"));
        worker.FlushInput();
    } catch (const std::exception&) {
        // The panel is let go of either way.
    }
    worker.RequestStop();
}

void TDevOrvel::LampTest() {
    QString reply;
    m_worker.load()->SendCommand(QStringLiteral("+t"), reply, 0, true, false, QString(), 500, 1);
}

void TDevOrvel::EraseHistory() {
    TModem& worker = *m_worker.load();
    DisableControls();
    if (m_links.showWaiting)
        Synchronize([&] { m_links.showWaiting(true); });
    try {
        QString reply;
        worker.SendCommand(QStringLiteral("+FH"), reply, 0, true, false, QStringLiteral("OK\r"), 25000, 3);
    } catch (const std::exception&) {
    }
    worker.RequestStop();
    if (m_links.showWaiting)
        Synchronize([&] { m_links.showWaiting(false); });
    EnableControls();
}

void TDevOrvel::Idle() {
    if (IdleSuspended.load())
        return;
    TModem& worker = *m_worker.load();
    try {
        worker.FlushInput();
        if (m_links.livePage && CurrentPage.load() == m_links.livePage && m_lastPoll.elapsed() / 1000 > 2)
            PollLiveReadings();
    } catch (const std::exception& e) {
        worker.Log(QStringLiteral(" # !!! Ошибка при работе с COM портом: ") +
                   QString::fromLocal8Bit(e.what()));
        worker.RequestStop();
    }
}

void TDevOrvel::PollLiveReadings() {
    std::optional<int> readings[3];
    bool lastOk = false;
    for (int n = 0; n < 3; ++n) {
        QString reply;
        const bool ok = Request(QStringLiteral("+c") + QString::number(n), reply);
        if (n == 2)
            lastOk = ok;
        if (!ok)
            continue;
        bool isHex = false;
        const int value = reply.trimmed().toInt(&isHex, 16);
        if (!isHex)
            return; // nothing posted, and the next idle pass polls again
        readings[n] = value;
    }
    if (!lastOk)
        return;
    // Only the readings actually taken are posted.
    QWidget* sliders[3][2] = {};
    Synchronize([&] {
        for (int p = 1; p <= 3; ++p) {
            sliders[p - 1][0] = m_links.livePage->findChild<QWidget*>(QStringLiteral("tsn%1").arg(p));
            sliders[p - 1][1] = m_links.livePage->findChild<QWidget*>(QStringLiteral("ts2n%1").arg(p));
        }
    });
    for (int p = 0; p < 3; ++p) {
        if (!readings[p])
            continue;
        m_queue.PostSlider(sliders[p][0], *readings[p], QStringLiteral("position"));
        m_queue.PostSlider(sliders[p][1], *readings[p], QStringLiteral("position"));
    }
    m_lastPoll.restart();
}

void TDevOrvel::DisableControls() {
    m_queue.PostControl(m_links.pageTree, QStringLiteral("false"));
    for (QWidget* control : m_links.lockedControls)
        m_queue.PostControl(control, QStringLiteral("false"));
    for (QAction* menu : m_links.lockedMenus)
        m_queue.PostMenuItem(menu, QStringLiteral("false"));
}

void TDevOrvel::EnableControls() {
    m_queue.PostControl(m_links.pageTree, QStringLiteral("true"));
    for (QWidget* control : m_links.lockedControls)
        m_queue.PostControl(control, QStringLiteral("true"));
    for (QAction* menu : m_links.lockedMenus)
        m_queue.PostMenuItem(menu, QStringLiteral("true"));
}

// ---- Page orchestration -----------------------------------------------------------------------

TDevOrvel::TPageEntry* TDevOrvel::EntryOf(QWidget* page) {
    for (TPageEntry& entry : m_pages) {
        if (entry.page == page)
            return &entry;
    }
    return nullptr;
}

void TDevOrvel::LogHidden(const QString& text) {
    m_queue.PostLog(text, false, true);
}

void TDevOrvel::RunPage(bool write) {
    Aborted.store(false);
    const bool bulk = BulkMode.load();
    if (!bulk)
        DisableControls();
    try {
        if (TPageEntry* entry = EntryOf(CurrentPage.load())) {
            for (const TPageStep& step : write ? entry->write : entry->read) {
                if (Aborted.load() || StopRequested())
                    break;
                if (step.outsideBulkOnly && bulk)
                    continue;
                if (step.run)
                    step.run();
            }
        }
    } catch (const std::exception& e) {
        if (TModem* worker = m_worker.load())
            worker->Log(QStringLiteral(" # !!! ") + QString::fromLocal8Bit(e.what()));
    }
    if (!bulk)
        EnableControls();
}

void TDevOrvel::ReadPage() {
    RunPage(false);
}

void TDevOrvel::WritePage() {
    RunPage(true);
}

void TDevOrvel::Walk(bool write) {
    BulkMode.store(true);
    DisableControls();
    Aborted.store(false);
    LogHidden(QString());
    LogHidden(kEquals81);
    LogHidden(write ? QStringLiteral("Пишем всё") : QStringLiteral("Читаем всё"));
    bool complete = true;
    for (int position = 0; position < int(m_pages.size()); ++position) {
        const TPageEntry& entry = m_pages[position];
        if (write && !entry.inWriteAll)
            continue;
        CurrentPage.store(entry.page);
        m_queue.PostControl(entry.page, QStringLiteral("Show"));
        m_queue.PostControl(m_links.pageTree, QString::number(position));
        RunPage(write);
        if (StopRequested() || Aborted.load()) {
            complete = false;
            break;
        }
    }
    if (complete && !m_pages.empty()) {
        CurrentPage.store(m_pages.front().page);
        m_queue.PostControl(m_pages.front().page, QStringLiteral("Show"));
        m_queue.PostControl(m_links.pageTree, QStringLiteral("0"));
        LogHidden(write ? QStringLiteral("Окончили писать всё") : QStringLiteral("Окончили читать всё"));
        LogHidden(kEquals81);
        m_queue.PostMessageBox(write ? QStringLiteral("Запись всех параметров завершена!")
                                     : QStringLiteral("Чтение всех параметров завершено!"));
    }
    EnableControls();
    BulkMode.store(false);
}

void TDevOrvel::ReadAll() {
    Walk(false);
}

void TDevOrvel::WriteAll() {
    Walk(true);
}
