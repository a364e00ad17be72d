// orvel11-sim: a simulated panel on a pseudo-terminal, for running the tool without hardware.

#include "sim/Panel.h"
#include "sim/ProgramOptions.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <pthread.h>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    sim::ProgramOptions options = sim::ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::cerr << "orvel11-sim: " << options.error << "\nTry orvel11-sim --help\n";
        return 2;
    }
    if (options.help) {
        std::cout << sim::ProgramUsage();
        return 0;
    }
    if (options.verbose)
        options.panel.trace = [](std::string_view note) { std::cerr << note << '\n'; };

    // Blocked before the panel's thread starts, so only sigwait below takes them. A shell starts
    // background jobs with SIGINT ignored, and an ignored signal never reaches sigwait; SIGHUP
    // stays ignored under nohup.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        sigaction(signal, nullptr, &current);
        if (signal != SIGHUP || current.sa_handler != SIG_IGN) {
            std::signal(signal, SIG_DFL);
            sigaddset(&signals, signal);
        }
    }
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try {
        sim::Panel panel(options.panel);
        sim::ApplyProgramOptions(options, panel);
        std::cout << panel.PortPath() << std::endl;
        int signal = 0;
        sigwait(&signals, &signal);
        if (options.verbose)
            std::cerr << "orvel11-sim: signal " << signal << ", exiting\n";
    } catch (const std::exception& error) {
        std::cerr << "orvel11-sim: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
