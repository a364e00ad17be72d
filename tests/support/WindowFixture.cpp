#include "support/WindowFixture.h"

#include "link/Modem.h"
#include "protocol/DevOrvel.h"
#include "shell/ConnectDlg.h"
#include "shell/SplashDlg.h"
#include "ui_queue/OutArray.h"
#include "widgets/MaskEdit.h"
#include "widgets/Panel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTimer>

ModalScript::ModalScript(int timeoutMs)
    : m_timeoutMs(timeoutMs), m_timer(std::make_unique<QTimer>()),
      m_clock(std::make_unique<QElapsedTimer>()) {
    m_clock->start();
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { Poll(); });
    m_timer->start(10);
}

ModalScript::~ModalScript() = default;

ModalScript& ModalScript::Then(Predicate when, Action act) {
    m_steps.push_back({std::move(when), std::move(act)});
    return *this;
}

void ModalScript::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (m_next < m_steps.size() && modal && m_steps[m_next].when(modal)) {
        Step step = m_steps[m_next++];
        m_clock->restart();
        step.act(modal);
        return;
    }
    if (modal && m_clock->elapsed() > m_timeoutMs) {
        m_timedOut = true;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        m_clock->restart();
    }
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void WindowFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVEL_DATA_DIR "/Messages.txt"), dir.filePath("Messages.txt")));
    panel = std::make_unique<sim::Panel>();
    OpenWindow();
}

void WindowFixture::TearDown() {
    CloseWindow();
    panel.reset();
}

void WindowFixture::OpenWindow() {
    TForm1::TOptions options;
    options.appDir = dir.path() + QLatin1Char('/');
    options.connectOnFirstShow = false;
    form = std::make_unique<TForm1>(options);
}

void WindowFixture::CloseWindow() {
    if (form) {
        form->close();
        form.reset();
    }
}

QString WindowFixture::Connect(const QString& key, const QString& cancelOnStatus, const QString& port) {
    ModalScript script;
    script.Then([](QWidget* modal) { return qobject_cast<TdlgConnect*>(modal) != nullptr; },
                [&](QWidget* modal) {
                    auto* dialog = static_cast<TdlgConnect*>(modal);
                    dialog->ComPorts->setEditText(port.isEmpty() ? Port() : port);
                    dialog->meMasterKey->setText(key);
                    dialog->OKBtn->click();
                });
    if (!cancelOnStatus.isEmpty()) {
        script.Then(
            [&](QWidget* modal) {
                auto* splash = qobject_cast<TdlgSplash*>(modal);
                return splash && splash->StatusLine->text() == cancelOnStatus;
            },
            [](QWidget* modal) { static_cast<TdlgSplash*>(modal)->CancelBtn->click(); });
    }
    form->mnuConnectClick();
    EXPECT_FALSE(script.TimedOut()) << "a dialog stayed open; status line: "
                                    << form->SplashDialog().StatusLine->text().toStdString();
    return form->SplashDialog().StatusLine->text();
}

void WindowFixture::RunOperation(std::uint8_t code, int timeoutMs) {
    ASSERT_NE(form->Worker(), nullptr);
    form->RequestOperation(code);
    WaitForIdle(timeoutMs);
}

void WindowFixture::WaitForIdle(int timeoutMs) {
    EXPECT_TRUE(WaitUntil([&] { return !form->Worker() || form->Worker()->CurrentOperation() == OpIdle; },
                          timeoutMs));
    Pump(150);
}

std::vector<std::string> WindowFixture::Commands() const {
    std::vector<std::string> commands;
    for (const std::string& line : panel->Received()) {
        if (!line.empty() && line[0] == '+')
            commands.push_back(line);
    }
    return commands;
}

bool WindowFixture::WaitForCommand(const std::string& line, int timeoutMs) {
    return WaitUntil(
        [&] {
            const auto received = panel->Received();
            return std::find(received.begin(), received.end(), line) != received.end();
        },
        timeoutMs);
}
