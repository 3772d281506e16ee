#pragma once
// The controls that show lines: the list box (listbox.h), the check list
// box (checklistbox.h) and the multi-line edit (memo.h).

#include "toolkit/ui/checklistbox.h"
#include "toolkit/ui/listbox.h"
#include "toolkit/ui/memo.h"
