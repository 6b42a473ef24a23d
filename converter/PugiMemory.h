#pragma once

namespace serz {

// Routes pugixml's allocations through an arena of large blocks backed by
// huge pages where available. Parsing tens of megabytes builds a DOM of
// similar size; with 4 KiB pages its page faults took most of the time.
// Safe to call more than once; memory pugixml got before the call is still
// released with free(), as pugixml's own default does.
void usePugiArena();

}  // namespace serz
