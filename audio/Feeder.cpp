// The feeding thread and the wait for one of its rounds.
#include "audio/Feeder.h"

namespace audio {

void Feeder::start(std::function<void()> work, std::chrono::milliseconds every) {
    feed = std::move(work);
    interval = every;
    stopping = false;
    thread = std::thread([this] { run(); });
}

void Feeder::stop() {
    if (!thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    thread.join();
    roundDone.notify_all();
}

void Feeder::waitForRound() {
    std::unique_lock<std::mutex> lock(mutex);
    if (!thread.joinable() || stopping) return;
    const unsigned round = begun + 1; // one under way began before the call
    asked = true;
    wake.notify_all();
    roundDone.wait(lock, [&] { return finished >= round || stopping; });
}

void Feeder::run() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait_for(lock, interval, [&] { return asked || stopping; });
        if (stopping) return;
        asked = false;
        const unsigned round = ++begun;
        lock.unlock();
        feed();
        lock.lock();
        finished = round;
        roundDone.notify_all();
    }
}

} // namespace audio
