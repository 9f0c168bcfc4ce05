#pragma once

// One object of T, created with new on first use and never destroyed.
// Screens and managers are reached this way: Singleton<DataStorage>::get().
// Main thread only: the first use is not guarded, so two threads could each make one.
template <class T>
class Singleton {
public:
    static T* get()
    {
        if (!_initialized) {
            theSingleInstance = new T();
            _initialized = true;
        }
        return theSingleInstance;
    }

protected:
    Singleton() = default;

private:
    static inline bool _initialized = false;
    static inline T* theSingleInstance = nullptr;
};
