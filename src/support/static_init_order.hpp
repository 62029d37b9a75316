// The order of the objects that must exist before the rest of static initialisation, lowest
// first. Everything without a priority (the application object included) is made after all of
// them, whichever translation unit it is in.
#pragma once

#define ZU_INIT_PRIORITY(priority) __attribute__((init_priority(priority)))

namespace zu::init_order {

constexpr int systemGate = 101;             // the earliest a program may ask for
constexpr int runningProductCounter = 102;  // registration in the running-product counter
constexpr int conversionCheck = 103;        // check of the character-conversion facilities

}  // namespace zu::init_order
