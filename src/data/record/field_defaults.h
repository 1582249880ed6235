#pragma once
// Setting every field of a record whose description has a default of its
// own back to that default: the generic part of clearing.
//
// Which fields those are is found once per record class and thread, by one
// walk of every chunk id (a walk per cleared record would slow loading
// down). Lists also note the size of the class they make; when every such
// field of a class of known size lies inside the object, clearing stores the
// defaults at their places in the object without describing each field
// again, which keeps a load as fast as clearing by hand. Other classes
// describe their fields with defaults on each clear.

#include <cstddef>
#include <typeinfo>

class TCatalogBaseItem;

// Every object of class `type` takes `size` bytes.
void NoteRecordSize(const std::type_info& type, size_t size);

// The fields with a default of their own set to it; the others keep what
// they hold.
void SetDescribedDefaults(TCatalogBaseItem& record);
