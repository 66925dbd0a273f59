// Report text is built and kept in fixed slots of one size: every entry of the shared string
// list, every line of a report list and every line of an equipment summary page.
#pragma once

// The size of one slot, NUL included.
constexpr int kReportLineSlot = 256;
