// The text an automatic drag carries: the selected items of a list, one per line.
#pragma once

#include <string>

namespace veltrin::controls {

class ListBoxW;

// The texts of the selected items in selection order, joined by CR LF (none after the last).
std::wstring SelectedItemsText(const ListBoxW& list);

}  // namespace veltrin::controls
