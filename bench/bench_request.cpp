// Sends N "+v" exchanges through Request to the simulated panel paced at 19200 baud 8N2 and
// prints exchanges per second and the ratio of measured time to wire time.
#include "link/Modem.h"
#include "protocol/DevOrvel.h"
#include "sim/Panel.h"
#include "ui_queue/OutArray.h"
#include "ui_queue/Synchronize.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 200;

    sim::Options options;
    options.pace = true;
    sim::Panel panel(options);

    TOutArray queue;
    TSynchronizer sync(queue);
    TDevOrvel device(queue, sync);
    TModem modem(
        QString::fromStdString(panel.PortPath()), [](std::uint8_t) {}, queue, sync);
    device.SetWorker(&modem);
    modem.OpenPort();
    if (!modem.PortOpen()) {
        std::fprintf(stderr, "cannot open %s\n", panel.PortPath().c_str());
        return 1;
    }

    // One exchange unstripped, to count the bytes a "+v" puts on the line both ways.
    QString raw;
    modem.SendCommand("+v", raw, 0, false, true, "OK\r", 1000, 1);
    const qint64 bytesPerExchange = 3 /* "+v\r" */ + 3 /* echo */ + raw.size();
    while (queue.Take()) {
    }

    int failures = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < n; ++i) {
        QString reply;
        if (!device.Request("+v", reply, 0, false, "OK\r", 1000, 6))
            ++failures;
        while (queue.Take()) {
        }
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double wireSeconds = double(bytesPerExchange) * n * 11.0 / 19200.0;
    std::printf("exchanges: %d (failed %d), bytes per exchange: %lld\n", n, failures,
                static_cast<long long>(bytesPerExchange));
    std::printf("measured: %.3f s, %.1f exchanges/s\n", seconds, n / seconds);
    std::printf("wire time: %.3f s, ratio measured/wire: %.2f\n", wireSeconds, seconds / wireSeconds);
    device.SetWorker(nullptr);
    return failures ? 1 : 0;
}
