// The services both controls use around their native windows, gathered in one include.
#pragma once

#include "controls/base/comctl_version.h"
#include "controls/base/ime.h"
#include "controls/base/mouse_pointers.h"
#include "controls/base/shell_library.h"
#include "controls/base/window_input.h"
#include "controls/base/window_styles.h"
