#pragma once
// A replacement operator new that counts, for showing that a code path allocates nothing. Linking
// CountingNew.cpp into a program replaces the global allocator of that program.
namespace tfm::test {

long AllocationCount();

}  // namespace tfm::test
