#pragma once
// The records of a list in stored order, as the store loads and saves them.
// Their memory is one block from BigBlockAllocator (big_buffer.h): a load of
// 100k events puts its 4.8 MB of records in one mapping, offered for huge pages.
#include <type_traits>
#include <vector>

#include "base/big_buffer.h"
#include "events/my_event.h"

using EventRecords = std::vector<CMyEvent, BigBlockAllocator<CMyEvent>>;

// A load of 100k events keeps 100k of these in its block.
static_assert(sizeof(void*) != 8 || sizeof(CMyEvent) == 48, "a record should stay 48 bytes");
// A growing list moves its records, field by field, instead of copying them.
static_assert(std::is_nothrow_move_constructible_v<CMyEvent>);
