// Where the plot box's sound goes. The window plays only through this seam,
// so that a test can stand in for the speakers, and a computer without any
// takes the same road and is told that nothing can play.
#pragma once

#include <memory>
#include <vector>

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Plays mono samples from -1 to 1 from their start, in place of whatever
    // plays. Returns false when there is no output to play them on.
    virtual bool play(const std::vector<float> &samples, int sampleRate) = 0;
    virtual void stop() = 0;
};

// The computer's default audio output, opened only when there is something
// to play, so that a window never waits for the sound system to open.
std::unique_ptr<SoundOutput> makeSpeakers();
