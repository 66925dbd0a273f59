#pragma once

// True when the program runs on Wine rather than on Windows itself. Used only where Wine
// is measured to behave differently and a substitute must take over.
bool IsWineHost();
