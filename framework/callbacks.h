#pragma once
// Calls packed as objects so that another thread can have the window thread
// run them: the sender sends AF_RUN_CALLBACK with the callback in lParam to a
// window that invokes it, and deletes the callback once SendMessage returns.

#include <windows.h>

const UINT AF_RUN_CALLBACK = WM_APP + 7;  // 0x8007

class AFCallback {
public:
    virtual ~AFCallback() = default;
    virtual void Invoke() = 0;
};

// Reference arguments are held as references: the blocking send keeps the
// referred values alive until the call has run.
template <class T, class R = void>
class AFClassCallback : public AFCallback {
public:
    typedef R (T::*Method)();
    AFClassCallback(T* object, Method method) : object(object), method(method) {}
    void Invoke() override { (object->*method)(); }

private:
    T* object;
    Method method;
};

template <class T, class A, class R = void>
class AFClassCallback1Parameter : public AFCallback {
public:
    typedef R (T::*Method)(A);
    AFClassCallback1Parameter(T* object, Method method, A argument)
        : object(object), method(method), argument(argument) {}
    void Invoke() override { (object->*method)(argument); }

private:
    T* object;
    Method method;
    A argument;
};

template <class T, class A, class B, class R = void>
class AFClassCallback2Parameters : public AFCallback {
public:
    typedef R (T::*Method)(A, B);
    AFClassCallback2Parameters(T* object, Method method, A first, B second)
        : object(object), method(method), first(first), second(second) {}
    void Invoke() override { (object->*method)(first, second); }

private:
    T* object;
    Method method;
    A first;
    B second;
};

// Sends the callback to window (blocking until its thread has run it) and
// then deletes it; nothing for a null callback.
void AFSendCallback(HWND window, AFCallback* callback);
// The window side: runs the callback carried in lParam of AF_RUN_CALLBACK.
void AFInvokeCallbackMessage(LPARAM lParam);

// Any callable as a callback: the window thread runs it, the sender reads
// what it captured by reference once the blocking send has returned.
template <class F>
class AFFunctionCallback : public AFCallback {
public:
    explicit AFFunctionCallback(F function) : function(function) {}
    void Invoke() override { function(); }

private:
    F function;
};

template <class F>
AFCallback* AFMakeCallback(F function)
{
    return new AFFunctionCallback<F>(function);
}
