#include "hardware/test_line.h"

namespace {

constexpr char kTestLine[] =
    "1234567890"
    "abcdefghijklmnopqrstuvwxyz"
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    "~!@#$%^&*()_+{}\":<>?/.,';[]`-=";

static_assert(sizeof kTestLine - 1 == kTestLineLength, "the test line holds every character once");

}  // namespace

const char* PrinterTestLine()
{
    return kTestLine;
}
