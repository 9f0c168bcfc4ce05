#pragma once

// The engine as the game sees it. This is the least the background loader needs until the
// facade lands: the current engine and the loader thread's GPU context.

class Render;

class CRender {
public:
    // The current engine; null until it is built.
    static Render* current();
    // On a worker thread: make a GPU context sharing objects with the render thread's current
    // there, and take it away again.
    static void ThreadStart();
    static void ThreadStop();
};
