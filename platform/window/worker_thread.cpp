#include "platform/window/worker_thread.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform::window {

namespace {

// A thread that has run its body waits a while for the next one: the
// console starts a status read every 600 ms and a discovery pass every 4 s,
// and starting a thread for each costs more than the work of a quiet
// receiver. One idle for longer than this ends.
constexpr auto IDLE_LIFETIME = std::chrono::seconds(30);

class WorkerPool {
  public:
    ~WorkerPool() { JoinAll(); }

    bool Start(WorkerBody body, WindowHandle window) {
        std::unique_lock lock(m_lock);
        ReapEnded();
        for (const auto& thread : m_threads) {
            if (thread->state == State::Parked) {
                thread->body = std::move(body);
                thread->window = window;
                thread->state = State::Busy;
                thread->wake.notify_one();
                return true;
            }
        }
        auto thread = std::make_shared<Thread>();
        thread->body = std::move(body);
        thread->window = window;
        thread->state = State::Busy;
        try {
            thread->thread = std::thread([this, t = thread.get()] { Run(*t); });
        } catch (const std::system_error& e) {
            std::fprintf(stderr, "cannot start a worker thread: %s\n", e.what());
            return false;
        }
        m_threads.push_back(std::move(thread));
        return true;
    }

    // Waits for every body started so far, then ends and joins every thread.
    void JoinAll() {
        std::list<std::shared_ptr<Thread>> threads;
        {
            std::unique_lock lock(m_lock);
            m_idle.wait(lock, [this] {
                for (const auto& thread : m_threads)
                    if (thread->state == State::Busy) return false;
                return true;
            });
            for (const auto& thread : m_threads) {
                thread->state = State::Ending;
                thread->wake.notify_one();
            }
            threads.swap(m_threads);
        }
        for (auto& thread : threads)
            if (thread->thread.joinable()) thread->thread.join();
    }

    int Running() {
        std::lock_guard lock(m_lock);
        int running = 0;
        for (const auto& thread : m_threads)
            if (thread->state == State::Busy) ++running;
        return running;
    }

  private:
    enum class State { Busy, Parked, Ending, Ended };

    struct Thread {
        std::thread thread;
        State state = State::Busy;  // guarded by the pool's lock
        WorkerBody body;
        WindowHandle window;
        std::condition_variable wake;
    };

    void Run(Thread& self) {
        std::unique_lock lock(m_lock);
        while (self.state == State::Busy) {
            WorkerBody body = std::move(self.body);
            const WindowHandle window = self.window;
            lock.unlock();
            try {
                body(window);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "worker thread ended by an exception: %s\n", e.what());
            } catch (...) {
                std::fprintf(stderr, "worker thread ended by an unknown exception\n");
            }
            body = nullptr;  // what the body holds goes before the worker counts as done
            lock.lock();
            if (self.state == State::Busy) self.state = State::Parked;
            m_idle.notify_all();
            self.wake.wait_for(lock, IDLE_LIFETIME,
                               [&self] { return self.state != State::Parked; });
        }
        self.state = State::Ended;
    }

    // Joins the threads that ended after their idle lifetime.
    void ReapEnded() {
        for (auto it = m_threads.begin(); it != m_threads.end();) {
            if ((*it)->state == State::Ended) {
                (*it)->thread.join();
                it = m_threads.erase(it);
            } else {
                ++it;
            }
        }
    }

    std::mutex m_lock;
    std::condition_variable m_idle;  // a body has finished
    std::list<std::shared_ptr<Thread>> m_threads;
};

WorkerPool& Pool() {
    static WorkerPool pool;
    return pool;
}

}  // namespace

bool BeginWorkerThread(WorkerBody body, WindowHandle window) {
    if (!body) return false;
    return Pool().Start(std::move(body), window);
}

void WaitForWorkerThreads() {
    Pool().JoinAll();
}

int RunningWorkerThreads() {
    return Pool().Running();
}

}  // namespace platform::window
