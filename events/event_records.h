#pragma once
// The records of a list in stored order, as the store loads and saves them.
// Their memory is one block from BigBlockAllocator (big_buffer.h): a load of
// 100k events puts its 4.8 MB of records in one mapping, offered for huge pages.
#include <vector>

#include "base/big_buffer.h"
#include "events/my_event.h"

using EventRecords = std::vector<CMyEvent, BigBlockAllocator<CMyEvent>>;
