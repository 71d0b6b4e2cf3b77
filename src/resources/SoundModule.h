#pragma once

// The game's sound clips: ROLL, GLASS and CLAP, stored in the executable as
// resources of the type "Sound" (:/sound/<NAME>) and played in the background.

#include <QByteArray>
#include <QString>

#include <functional>

class WavPlayer;

namespace SoundModule {

// The WAVE image of the clip started last; empty until the first call.
extern QByteArray SoundData;

// Starts the named clip (any case: "Roll", "ROLL" and "roll" are the same),
// cutting off the one still playing, and returns at once. Nothing is
// reported: without an audio device, or for an unknown name, the game simply
// goes on without sound. User-interface thread only.
void PlayResSound(const QString &name);

// The complete WAVE image of a clip, looked up without regard to case; empty
// for a name that is not a clip.
QByteArray LoadResSound(const QString &name);

// Cuts off the clip playing, if any. Also done automatically when the
// application quits, before the images are released.
void StopSound();

// Told of every clip PlayResSound starts (its upper-case name), at the
// moment it is started, on the user-interface thread. For tests that check
// the order of sounds and dialogs; empty by default.
void SetPlayObserver(std::function<void(const QString &name)> observer);

// The player behind PlayResSound, created with the first clip; null without
// an application object.
WavPlayer *Player();

// For the end of main(), once the event loop has returned `status`: shuts the
// sound down and returns `status`. If the sound server holds the player's
// thread up, the process ends here at once with `status` instead: static
// destructors and the audio backend's exit handlers would wait on, or trip
// over, that thread. Nothing is saved on the way out, so nothing is lost.
int Finish(int status);

} // namespace SoundModule
