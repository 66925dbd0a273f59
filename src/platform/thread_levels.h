// Thread priority levels as Windows reports them in its thread snapshots: an absolute
// level from 1 to 31, the process's class base plus the thread's relative priority.
// Wine's snapshots report the relative priority itself (THREAD_PRIORITY_* values) and the
// class as a code; these rules give the Windows level back.
#pragma once

// Class base priorities as the system reports them for each priority class.
constexpr int kIdleClassBase = 4;
constexpr int kBelowNormalClassBase = 6;
constexpr int kNormalClassBase = 8;
constexpr int kAboveNormalClassBase = 10;
constexpr int kHighClassBase = 13;
constexpr int kRealTimeClassBase = 24;

// The class base level of a priority class code as Wine's process snapshots give it:
// 1 idle (4), 2 normal (8), 3 high (13), 4 real-time (24), 5 below normal (6), 6 above
// normal (10); any other code counts as normal.
long ClassBaseOfCode(long classCode);

// The absolute level of a thread with this relative priority in a class with this base.
// Idle and time-critical threads sit at the bottom and top of their class's range
// (1 and 15, or 16 and 31 in the real-time class); other levels stay within that range.
long AbsoluteThreadLevel(long classBase, long relative);
