#include "platform/window/worker_thread.h"

#include <QtGlobal>

#include <atomic>
#include <exception>
#include <list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform::window {

namespace {

struct Worker {
    std::thread thread;
    std::atomic<bool> finished{false};
};

class WorkerPool {
  public:
    ~WorkerPool() { JoinAll(); }

    bool Start(WorkerBody body, WindowHandle window) {
        auto worker = std::make_shared<Worker>();
        std::lock_guard guard(m_lock);
        ReapFinished();
        try {
            worker->thread = std::thread([body = std::move(body), window, w = worker.get()] {
                try {
                    body(window);
                } catch (const std::exception& e) {
                    qCritical("worker thread ended by an exception: %s", e.what());
                } catch (...) {
                    qCritical("worker thread ended by an unknown exception");
                }
                w->finished.store(true);
            });
        } catch (const std::system_error& e) {
            qCritical("cannot start a worker thread: %s", e.what());
            return false;
        }
        m_workers.push_back(std::move(worker));
        return true;
    }

    void JoinAll() {
        std::list<std::shared_ptr<Worker>> workers;
        {
            std::lock_guard guard(m_lock);
            workers.swap(m_workers);
        }
        for (auto& worker : workers)
            if (worker->thread.joinable()) worker->thread.join();
    }

    int Running() {
        std::lock_guard guard(m_lock);
        int running = 0;
        for (const auto& worker : m_workers)
            if (!worker->finished.load()) ++running;
        return running;
    }

  private:
    // Joins the threads that have finished so the list does not grow.
    void ReapFinished() {
        for (auto it = m_workers.begin(); it != m_workers.end();) {
            if ((*it)->finished.load()) {
                (*it)->thread.join();
                it = m_workers.erase(it);
            } else {
                ++it;
            }
        }
    }

    std::mutex m_lock;
    std::list<std::shared_ptr<Worker>> m_workers;
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
