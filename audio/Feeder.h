// A thread that keeps the streams' queues topped up while the game's own update is late.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace audio {

// Runs `feed` every `interval`, on its own thread, from start to stop. `feed` takes whatever locks the
// data it touches need; the feeder holds none of them.
class Feeder {
  public:
    void start(std::function<void()> feed, std::chrono::milliseconds interval);
    void stop(); // returns once the thread has ended; nothing is fed afterwards
    // Returns once a whole round of feeding has begun and ended after the call (at once when stopped):
    // a caller that renders a loopback device waits on it instead of guessing at the thread's pace.
    void waitForRound();

  private:
    void run();

    std::function<void()> feed;
    std::chrono::milliseconds interval{};
    std::thread thread;
    std::mutex mutex; // guards the four fields below
    std::condition_variable wake, roundDone;
    bool stopping = false;
    bool asked = false;    // a caller waits for a round: begin one now
    unsigned begun = 0;    // rounds begun
    unsigned finished = 0; // the last round ended
};

} // namespace audio
