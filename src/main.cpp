#include "app/Additions.h"
#include "game/SettingsStore.h"
#include "game/Random.h"
#include "opponents/ComputerSetupDialog.h"
#include "resources/SoundModule.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/Form1.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

bool HaveDisplay()
{
    // An explicit platform (offscreen, say) is the user's choice; otherwise
    // Qt needs an X or Wayland display and would abort without one.
    auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!HaveDisplay()) {
        std::fputs("quintor: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "start it from a graphical desktop session.\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quintor"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quintor.Quintor"));
    Fonts::InstallSubstitutes();

    QtDialogs shown;
    PromptAnswers dialogs(shown);
    XoshiroRandom random(static_cast<std::uint64_t>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    SettingsStore settings;
    Form1 window(dialogs, random, settings);
    shown.setParent(&window);
    QtSetupQuestion setup(&window);
    Additions additions(window, dialogs, setup, settings);
    window.show();
    // The high score is on disk already; a hung sound server must not hold
    // up the end of the program.
    return SoundModule::Finish(app.exec());
}
