#pragma once

// Base class of a thread: a subclass gives the body (run). start() creates the thread;
// stop() wakes it with SIGUSR1 (an empty handler, so a sleep or blocking call in progress
// returns early) and joins it. The subclass must first make its body return. A Thread must
// be stopped before it is destroyed.

#include <pthread.h>

class Thread {
public:
    Thread();
    virtual ~Thread();

    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // The thread's body; its result is what stop() returns.
    virtual int run() = 0;

    void start();
    int stop();

private:
    friend void* thread_entry(void* object);

    pthread_mutex_t mutex;
    int running;      // from start() until run() has returned; under mutex
    pthread_t thread; // valid while started
    int started;      // from a successful start() until stop() has joined
};

void* thread_entry(void* object);
void thread_signal_handler(int signal);
