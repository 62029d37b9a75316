// The order of the objects that must exist before the rest of static initialisation, lowest
// first. Everything without a priority (the application object included) is made after all of
// them, whichever translation unit it is in.
#pragma once

#define ZU_INIT_PRIORITY(priority) __attribute__((init_priority(priority)))

namespace zu::init_order {

constexpr int dllSearch = 101;              // the earliest a program may ask for: the library
                                            // search is restricted before anything may load one
constexpr int systemGate = 102;
constexpr int runningProductCounter = 103;  // registration in the running-product counter
constexpr int conversionCheck = 104;        // check of the character-conversion facilities

}  // namespace zu::init_order
