#pragma once
// Sent and posted messages, the message queue, timers and the clock.
//
// A queue hands out, in this order: posted messages (first in, first out), input (mouse and
// keyboard, routed to a window when it is taken from the queue, so a capture set while one
// press is handled applies to the release behind it), WM_QUIT after PostQuitMessage, WM_PAINT
// for a window whose update region is not empty, and WM_TIMER for a due timer. Messages sent
// from other threads are handled whenever the user-interface thread looks at its queue.
#include <cstdint>
#include <functional>

#include "platform/windows/messages.h"
#include "platform/windows/wintypes.h"

// ---- sending ------------------------------------------------------------------------------
// Calls the window procedure and returns its answer. Re-entrant. From another thread the call
// is carried to the user-interface thread, which handles it the next time it looks at its
// queue, and the sender waits for the answer (0 when the window is destroyed first).
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// As SendMessage, but a sender on another thread waits at most timeoutMs milliseconds of the
// window layer's clock; false (ERROR_TIMEOUT) when the answer did not come in time.
bool SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                        UINT timeoutMs, LRESULT* result);
// Sends to the window's procedure without queuing, as SendMessage, and returns at once for a
// window of another thread (the message is handled later; the answer is dropped).
bool SendNotifyMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// True while the current message came from SendMessage of another thread.
bool InSendMessage();

// ---- posting ------------------------------------------------------------------------------
// Queues a message for a window (any thread; wakes a waiting loop). HWND_BROADCAST posts to
// every top-level window. False for an invalid window.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a message with no window for a thread that has a queue (the user-interface thread
// always has one; another thread gets one when it first calls GetMessage or PeekMessage).
bool PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
// Makes the queue hand out WM_QUIT (wParam = exitCode) once nothing else is posted or input.
void PostQuitMessage(int exitCode);

// ---- the queue ------------------------------------------------------------------------------
// Waits for a message for hwnd (null: any window of the thread or none; (HWND)-1: thread
// messages only) within [minFilter, maxFilter] (both 0: all). Returns false for WM_QUIT.
// Raises EInvalidArgument for a filter window that is not valid.
bool GetMessage(MSG* msg, HWND hwnd = nullptr, UINT minFilter = 0, UINT maxFilter = 0);
// As GetMessage without waiting; false when nothing matches. PM_REMOVE takes the message.
bool PeekMessage(MSG* msg, HWND hwnd, UINT minFilter, UINT maxFilter, UINT removeFlags);
// Waits until something arrives in the queue.
bool WaitMessage();
// Queues WM_CHAR (WM_SYSCHAR) for the characters a WM_KEYDOWN (WM_SYSKEYDOWN) produces.
// True when the message was a key message.
bool TranslateMessage(const MSG* msg);
// Calls the window procedure of msg->hwnd (for WM_TIMER with a timer procedure, the timer
// procedure). A WM_PAINT whose handler neither begins a paint nor validates has its update
// region dropped afterwards, so the loop never spins on it.
LRESULT DispatchMessage(const MSG* msg);
// Where the cursor was and when, for the message last taken from the queue.
DWORD GetMessageTime();
DWORD GetMessagePos();  // MAKELONG(x, y), screen coordinates
// The message pump used when the window layer itself lets messages run (the headless
// injections, AdvanceTime): by default PeekMessage / TranslateMessage / DispatchMessage until
// the queue is empty. The application layer installs its own so that its message hook sees
// every message.
using TMessagePump = std::function<void()>;
void SetMessagePump(TMessagePump pump);
// Runs the current message pump once.
void ProcessPendingMessages();

// ---- timers -------------------------------------------------------------------------------
// A timer of a window with a numeric id (replacing one with the same id), delivered as
// WM_TIMER when the queue is otherwise empty, at most one pending per timer. Intervals below
// USER_TIMER_MINIMUM are raised to it. With hwnd null a new id is returned. A timer procedure,
// when given, is called by DispatchMessage instead of the window procedure. Killing or
// re-arming a timer inside its own handler is safe.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
bool KillTimer(HWND hwnd, UINT_PTR id);

// ---- the clock ----------------------------------------------------------------------------
// Milliseconds of the back end's monotonic clock (virtual under the headless back end).
// Timers, double-click timing, caret blinking and animations all read it.
DWORD GetTickCount();
uint64_t GetTickCount64();
// The double-click interval in milliseconds.
UINT GetDoubleClickTime();
bool SetDoubleClickTime(UINT ms);
