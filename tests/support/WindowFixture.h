#pragma once

#include "shell/MainForm.h"
#include "sim/Panel.h"
#include "support/QtPrint.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QWidget;

// Answers the modal dialogs a command opens, step by step: each step waits until its predicate holds
// for the active modal widget, then acts on it. Unanswered dialogs are rejected after a time-out so
// a failing test ends instead of hanging.
class ModalScript {
  public:
    using Predicate = std::function<bool(QWidget* modal)>;
    using Action = std::function<void(QWidget* modal)>;

    explicit ModalScript(int timeoutMs = 30000);
    ~ModalScript();
    ModalScript& Then(Predicate when, Action act);
    bool Finished() const { return m_next >= m_steps.size(); }
    bool TimedOut() const { return m_timedOut; }

  private:
    void Poll();
    struct Step {
        Predicate when;
        Action act;
    };
    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_timedOut = false;
    int m_timeoutMs;
    std::unique_ptr<class QTimer> m_timer;
    std::unique_ptr<class QElapsedTimer> m_clock;
};

// Pumps events until done() holds or the time runs out; returns done().
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Pumps events for a while (lets the 50 ms tick drain what was posted).
void Pump(int ms);

// A main window on a folder of its own (current.ini, windows.ini, Messages.txt) and a simulated
// panel on a pty.
class WindowFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window anew on the same folder (as a restart does).
    void OpenWindow();
    void CloseWindow();

    // Runs the connect command, answering the connect dialog with the port and key; the
    // connection dialog then either closes by itself or, with cancelOnStatus set, is cancelled once
    // its status line shows that text. Returns the status line's last text.
    QString Connect(const QString& key = QStringLiteral("6183"), const QString& cancelOnStatus = {},
                    const QString& port = {});
    // Hands the worker a code and waits until it is idle again and the queue is drained.
    void RunOperation(std::uint8_t code, int timeoutMs = 30000);
    // Waits until the worker is idle again and the queue is drained.
    void WaitForIdle(int timeoutMs = 30000);
    // Waits, serving the window meanwhile, until the simulated panel has received this line.
    bool WaitForCommand(const std::string& line, int timeoutMs = 5000);
    // Lines the simulated panel received, "+" lines only.
    std::vector<std::string> Commands() const;
    QString Port() const { return QString::fromStdString(panel->PortPath()); }

    QTemporaryDir dir;
    std::unique_ptr<sim::Panel> panel;
    std::unique_ptr<TForm1> form;
};
