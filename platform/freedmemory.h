#pragma once

/**
 * @brief Memory the program has freed, given back to the system.
 *
 * An allocator may keep freed memory for the allocations to come (the GNU C library does, in the
 * middle of its heap); after a window closes the idle program has no use for it.
 */
namespace FreedMemory {

/** Gives freed memory back to the system where the allocator keeps it; elsewhere does nothing. */
void release();

} // namespace FreedMemory
