// The desktop program's own timings, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise, with the bundled sample data:
//
//   veltrano_bench_ui startup [RUNS]
//       from starting the process to the end of the window's first paint,
//       each run a new process, as the program starts
//   veltrano_bench_ui create [LISTS]
//       creating 99 names (the command and the repaint it causes) with the
//       output replaced, and with keep-output on after 0 to LISTS earlier
//       lists of 99 names
//
// Each run uses a settings folder of its own, so a first start creates a
// store that points at the sample data, and what is measured depends on
// nothing the user has set.

#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTranslator>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchData.h"
#include "ui/AppSetup.h"
#include "ui/CommandIds.h"
#include "ui/ListBox.h"
#include "ui/MainFrame.h"
#include "ui/MainView.h"
#include "ui/VeltranoApp.h"

namespace {

using Clock = std::chrono::steady_clock;

// Constructed before main(), as the program's application object is.
CVeltranoApp theApp;

std::int64_t NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : (n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

// Settings and Qt's runtime files in `folder` (mkdtemp made it private);
// offscreen unless the caller chose a platform.
void UseScratchEnvironment(const CScratchDir& folder) {
    ::setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// Notes the end of the first paint of any widget, then ends the program.
class CFirstPaintWatch : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // A zero timer fires once the loop has nothing else to do: after
            // this paint and the rest of its frame.
            startTimer(0);
        }
        return QObject::eventFilter(watched, event);
    }

  protected:
    void timerEvent(QTimerEvent* /*event*/) override {
        std::printf("%lld\n", static_cast<long long>(NowNanoseconds()));
        std::fflush(stdout);
        QApplication::quit();
    }

  private:
    bool m_seen = false;
};

// With VELTRANO_BENCH_PHASES set, a start-up run tells on standard error
// when it passed each phase.
void NotePhase(const char* phase) {
    if (std::getenv("VELTRANO_BENCH_PHASES") != nullptr) {
        std::fprintf(stderr, "%s %lld\n", phase, static_cast<long long>(NowNanoseconds()));
    }
}

// The program's main(), with a watch for the first paint.
int StartUpChild(int argc, char** argv) {
    NotePhase("main");
    QApplication application(argc, argv);
    NotePhase("QApplication");
    QTranslator qtTexts;
    SetUpApplication(qtTexts);
    CFirstPaintWatch watch;
    application.installEventFilter(&watch);
    int exitCode = EXIT_FAILURE;
    const bool started = theApp.InitInstance();
    NotePhase("InitInstance");
    if (started) {
        exitCode = QApplication::exec();
    }
    theApp.ExitInstance();
    return exitCode;
}

int StartUp(const char* argv0, int runs) {
    std::vector<double> milliseconds;
    for (int run = 0; run < runs; ++run) {
        CScratchDir settings;
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) {
            return EXIT_FAILURE;
        }
        const std::int64_t start = NowNanoseconds();
        NotePhase("fork");
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(pipeEnds[1], STDOUT_FILENO);
            ::close(pipeEnds[0]);
            ::close(pipeEnds[1]);
            UseScratchEnvironment(settings);
            // argv[0] need not be a path: a program found through PATH has
            // its bare name there.
            ::execl("/proc/self/exe", argv0, "startup-child", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipeEnds[1]);
        char text[64] = {};
        const ssize_t got = ::read(pipeEnds[0], text, sizeof text - 1);
        ::close(pipeEnds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (got <= 0) {
            std::fprintf(stderr, "run %d: the window was never painted\n", run);
            return EXIT_FAILURE;
        }
        milliseconds.push_back(static_cast<double>(std::atoll(text) - start) / 1e6);
    }
    std::printf("start-up to first paint, %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n",
                runs, Median(milliseconds),
                *std::min_element(milliseconds.begin(), milliseconds.end()),
                *std::max_element(milliseconds.begin(), milliseconds.end()));
    return EXIT_SUCCESS;
}

// Counts the paints of one widget.
class CPaintCounter : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
    int paints = 0;
};

// One create command and the repaint it causes, in milliseconds.
double TimedCreate(CMainView& view) {
    const auto start = Clock::now();
    view.OnCmdMsg(ID_FILE_CREATE_LIST);
    QApplication::processEvents();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double MedianOfCreates(CMainView& view, int times) {
    std::vector<double> milliseconds;
    milliseconds.reserve(static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) {
        milliseconds.push_back(TimedCreate(view));
    }
    return Median(milliseconds);
}

int Create(int argc, char** argv, int lists) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    if (!theApp.InitInstance()) {
        return EXIT_FAILURE;
    }
    CMainView* view = theApp.MainFrame()->View();
    auto* cultures = view->findChild<CListBox*>(QStringLiteral("cultureList"));
    auto* nameTypes = view->findChild<CListBox*>(QStringLiteral("nameTypeList"));
    auto* count = view->findChild<QLineEdit*>(QStringLiteral("countEdit"));
    if (cultures == nullptr || nameTypes == nullptr || count == nullptr || cultures->count() == 0) {
        std::fputs("the window has no cultures to choose from\n", stderr);
        return EXIT_FAILURE;
    }
    cultures->setCurrentRow(0);
    view->OnCultureChanged();
    nameTypes->setCurrentRow(0);
    view->OnNameTypeChanged();
    count->setText(QStringLiteral("99"));
    QApplication::processEvents();

    CPaintCounter counter;
    view->OutputView()->viewport()->installEventFilter(&counter);
    constexpr int kTimes = 200;
    const double replaced = MedianOfCreates(*view, kTimes);
    std::printf("create 99 names, output replaced: median %.3f ms of %d, %d paints of the pane\n",
                replaced, kTimes, counter.paints);
    view->OnCmdMsg(ID_EDIT_KEEP_OUTPUT);
    int made = 0;
    for (int mark = 0; mark <= lists; mark = mark == 0 ? 100 : mark * 10) {
        for (; made < mark; ++made) {
            TimedCreate(*view);
        }
        const int lines = view->OutputView()->blockCount();
        constexpr int kKeptTimes = 20;
        std::printf(
            "create 99 names, keep-output on, after %5d lists (%7d lines): median %.3f ms of "
            "%d\n",
            made, lines, MedianOfCreates(*view, kKeptTimes), kKeptTimes);
        made += kKeptTimes;
    }
    theApp.ExitInstance();
    return EXIT_SUCCESS;
}

int Usage() {
    std::fputs("usage: veltrano_bench_ui startup [RUNS]\n       veltrano_bench_ui create [LISTS]\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    RunIsolatedFromUserSettings(argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup-child") {
        return StartUpChild(argc, argv);
    }
    if (mode == "startup") {
        const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
        if (runs < 1) {
            std::fputs("veltrano_bench_ui: RUNS must be at least 1\n", stderr);
            return Usage();
        }
        return StartUp(argv[0], runs);
    }
    if (mode == "create") {
        return Create(argc, argv, argc > 2 ? std::atoi(argv[2]) : 10000);
    }
    return Usage();
}
