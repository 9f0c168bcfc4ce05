#include "core/macosx/threads.h"

#include "core/Assert.h"

#include <csignal>
#include <cstdint>
#include <cstring>

void thread_signal_handler(int)
{
}

namespace {

// Without SA_RESTART, so the signal makes an interrupted blocking call return.
void installWakeHandler()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = thread_signal_handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGUSR1, &action, nullptr);
}

} // namespace

Thread::Thread() : running(0), thread(), started(0)
{
    pthread_mutex_init(&mutex, nullptr);
    installWakeHandler();
}

Thread::~Thread()
{
    PP_ASSERT(!started);
    pthread_mutex_lock(&mutex);
    PP_ASSERT(!running);
    pthread_mutex_unlock(&mutex);
    pthread_mutex_destroy(&mutex);
}

void* thread_entry(void* object)
{
    Thread* self = static_cast<Thread*>(object);
    const int result = self->run();
    pthread_mutex_lock(&self->mutex);
    self->running = 0;
    pthread_mutex_unlock(&self->mutex);
    return reinterpret_cast<void*>(static_cast<intptr_t>(result));
}

void Thread::start()
{
    pthread_mutex_lock(&mutex);
    PP_ASSERT(!started && !running);
    running = 1;
    const int ret = pthread_create(&thread, nullptr, thread_entry, this);
    PP_ASSERT(ret == 0);
    started = 1;
    pthread_mutex_unlock(&mutex);
}

int Thread::stop()
{
    PP_ASSERT(started);
    pthread_kill(thread, SIGUSR1);
    void* result = nullptr;
    pthread_join(thread, &result);
    started = 0;
    pthread_mutex_lock(&mutex);
    PP_ASSERT(!running);
    pthread_mutex_unlock(&mutex);
    return static_cast<int>(reinterpret_cast<intptr_t>(result));
}
