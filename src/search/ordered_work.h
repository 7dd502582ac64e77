// Work that several threads do while one thread takes the results in the order the work was
// given: the folders of a search are listed and its size groups compared on every core,
// and yet the search reports and lists everything in the one order a single thread would.
#pragma once

#include "search/thread_start.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kw::search
{

// Tasks are numbered in the order they are added and started in that order, by whichever
// thread is free, at most `lookAhead` ahead of the next result to be taken. The taking
// thread works too: while the result it wants is not ready it starts the next task itself,
// so one thread alone does everything in order, and no thread sleeps while there is work.
// Only the thread that created the object adds tasks and takes results. A task receives the
// number of the thread that runs it: 0 for the taking thread, 1 … maxThreads − 1 for helpers.
// Further helpers, up to `maxThreads`, are started on request (addHelper): threads that wait
// for a disk use no processor, and a slow disk is better given more to do at once. A helper
// that cannot be started is done without: the taking thread does all the work if need be.
template<typename Result>
class OrderedWork
{
public:
    using Task = std::function<Result(unsigned thread)>;

    OrderedWork(unsigned threads, std::size_t lookAhead, unsigned maxThreads = 0)
        : m_lookAhead(lookAhead == 0 ? 1 : lookAhead), m_maxThreads(std::max(threads, maxThreads))
    {
        // Room for every helper first: once one runs, nothing here may throw, or it would be
        // left running with no one to join it.
        m_helpers.reserve(m_maxThreads);
        for (unsigned t = 1; t < threads && !m_cannotStart; ++t)
            m_cannotStart = !startHelper();
    }

    // Starts one more helper, unless there are `maxThreads` threads already. Any thread may ask.
    void addHelper()
    {
        const std::lock_guard lock(m_mutex);
        if (!m_closing && !m_cannotStart && m_helpers.size() + 1 < m_maxThreads)
            m_cannotStart = !startHelper();
    }

    // How many threads work, the taking one included.
    unsigned threadCount()
    {
        const std::lock_guard lock(m_mutex);
        return static_cast<unsigned>(m_helpers.size() + 1);
    }
    OrderedWork(const OrderedWork &) = delete;
    OrderedWork &operator=(const OrderedWork &) = delete;
    ~OrderedWork()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_helperWake.notify_all();
        for (std::thread &helper : m_helpers)
            helper.join();
    }

    void add(Task task)
    {
        bool wake = false;
        {
            const std::lock_guard lock(m_mutex);
            m_slots.emplace_back();
            m_slots.back().task = std::move(task);
            wake = m_sleepingHelpers > 0 && startable();
        }
        if (wake)
            m_helperWake.notify_one();
    }

    // The result of the oldest task not yet taken; rethrows what the task threw.
    Result take()
    {
        std::unique_lock lock(m_mutex);
        Slot &front = m_slots.front();
        while (!front.finished) {
            if (startable()) {
                runNext(lock, 0);
            } else {
                m_takerWaiting = true;
                m_takerWake.wait(lock, [&] { return front.finished; });
                m_takerWaiting = false;
            }
        }
        Slot taken = std::move(front);
        m_slots.pop_front();
        --m_started;
        const bool wake = m_sleepingHelpers > 0 && startable();
        lock.unlock();
        if (wake) // the window of work ahead has moved on
            m_helperWake.notify_one();
        if (taken.error)
            std::rethrow_exception(taken.error);
        return std::move(*taken.result);
    }

private:
    struct Slot {
        Task task;
        std::optional<Result> result;
        std::exception_ptr error;
        bool finished = false;
    };

    bool startable() const { return m_started < m_slots.size() && m_started < m_lookAhead; }

    bool startHelper()
    {
        const auto t = static_cast<unsigned>(m_helpers.size() + 1);
        std::optional<std::thread> helper = tryStartThread([this, t] { help(t); });
        if (helper)
            m_helpers.push_back(std::move(*helper)); // reserved: does not throw
        return helper.has_value();
    }

    // Starts the oldest task not started yet; called and returns with the lock held. Slots
    // live in a deque: a reference stays valid while others are added or the front one is
    // taken, and a started one is taken only when finished.
    void runNext(std::unique_lock<std::mutex> &lock, unsigned thread)
    {
        Slot &slot = m_slots[m_started++];
        Task task = std::move(slot.task);
        lock.unlock();
        std::optional<Result> result;
        std::exception_ptr error;
        try {
            result.emplace(task(thread));
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        slot.result = std::move(result);
        slot.error = error;
        slot.finished = true;
        if (m_takerWaiting && &slot == &m_slots.front())
            m_takerWake.notify_one();
    }

    void help(unsigned thread)
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            while (!m_closing && !startable()) {
                ++m_sleepingHelpers;
                m_helperWake.wait(lock);
                --m_sleepingHelpers;
            }
            if (m_closing)
                return;
            runNext(lock, thread);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_helperWake; // work to start, or closing
    std::condition_variable m_takerWake; // the front task finished
    std::deque<Slot> m_slots; // the tasks not yet taken, oldest first
    std::size_t m_started = 0; // how many of them (from the front) have been started
    std::size_t m_lookAhead;
    unsigned m_maxThreads;
    unsigned m_sleepingHelpers = 0;
    bool m_takerWaiting = false;
    bool m_closing = false;
    bool m_cannotStart = false; // a start failed: the system has no more threads to give
    std::vector<std::thread> m_helpers;
};

} // namespace kw::search
