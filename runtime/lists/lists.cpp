// Object lists: see lists.h.
#include "runtime/lists/lists.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The list's first element; a list whose header could not be made is empty.
RT_ListElement *FirstOf(const RT_List &list) {
  return list.header ? list.header->first : nullptr;
}

// A zero-filled element of the list's size, or null when there is no memory (or no header).
RT_ListElement *NewElement(const RT_List &list) {
  if (!list.header) {
    return nullptr;
  }
  return static_cast<RT_ListElement *>(calloc(1, size_t(list.header->elementSize)));
}

// Links an element whose own links are set into its neighbours and the header, and makes it
// current.
RT_ListElement *LinkElement(RT_List &list, RT_ListElement *element) {
  if (element->previous) {
    element->previous->next = element;
  } else {
    list.header->first = element;
  }
  if (element->next) {
    element->next->previous = element;
  } else {
    list.header->last = element;
  }
  list.current = element;
  return element;
}

} // namespace

void RT_NewList(RT_List &list, int32_t recordSize) {
  constexpr int32_t links = sizeof(RT_ListElement);
  RT_ListHeader *header = nullptr;
  if (recordSize >= 0 && recordSize <= INT32_MAX - links) {
    header = static_cast<RT_ListHeader *>(calloc(1, sizeof(RT_ListHeader)));
  }
  if (header) {
    header->elementSize = recordSize + links;
  }
  list.header = header;
}

RT_ListElement *RT_AddElement(RT_List &list) {
  RT_ListElement *element = NewElement(list);
  if (!element) {
    return nullptr;
  }
  if (list.current) {
    element->previous = list.current;
    element->next = list.current->next;
  } else {
    element->next = list.header->first;
  }
  return LinkElement(list, element);
}

RT_ListElement *RT_InsertElement(RT_List &list) {
  RT_ListElement *element = NewElement(list);
  if (!element) {
    return nullptr;
  }
  if (list.current) {
    element->previous = list.current->previous;
    element->next = list.current;
  } else {
    element->next = list.header->first;
  }
  return LinkElement(list, element);
}

// The cursor goes back to the predecessor, so a walk's next step reaches the successor; only the
// first element, having none, leaves the cursor on its successor.
void RT_DeleteElement(RT_List &list) {
  RT_ListElement *element = list.current;
  if (!element) {
    return;
  }
  RT_ListElement *previous = element->previous;
  RT_ListElement *next = element->next;
  if (previous) {
    previous->next = next;
  } else {
    list.header->first = next;
  }
  if (next) {
    next->previous = previous;
  } else {
    list.header->last = previous;
  }
  list.current = previous ? previous : next;
  free(element);
}

void RT_ClearList(RT_List &list) {
  RT_ListElement *element = FirstOf(list);
  while (element) {
    RT_ListElement *next = element->next;
    free(element);
    element = next;
  }
  if (list.header) {
    list.header->first = nullptr;
    list.header->last = nullptr;
  }
  list.current = nullptr;
}

void RT_ResetList(RT_List &list) {
  list.current = nullptr;
}

RT_ListElement *RT_NextElement(RT_List &list) {
  RT_ListElement *next = list.current ? list.current->next : FirstOf(list);
  if (next) {
    list.current = next;
  }
  return next;
}

RT_ListElement *RT_PreviousElement(RT_List &list) {
  RT_ListElement *previous = list.current ? list.current->previous : nullptr;
  if (previous) {
    list.current = previous;
  }
  return previous;
}

RT_ListElement *RT_FirstElement(RT_List &list) {
  list.current = FirstOf(list);
  return list.current;
}

RT_ListElement *RT_LastElement(RT_List &list) {
  list.current = list.header ? list.header->last : nullptr;
  return list.current;
}

void RT_SelectElement(RT_List &list, int32_t position) {
  RT_ResetList(list);
  for (int64_t step = 0; step <= position; ++step) {
    if (!RT_NextElement(list)) {
      return;
    }
  }
}

void RT_ChangeCurrentElement(RT_List &list, void *record) {
  list.current =
      record
          ? reinterpret_cast<RT_ListElement *>(static_cast<char *>(record) - sizeof(RT_ListElement))
          : nullptr;
}

int32_t RT_CountList(RT_List &list) {
  int32_t count = 0;
  for (RT_ListElement *element = FirstOf(list); element; element = element->next) {
    ++count;
  }
  return count;
}

int32_t RT_ListIndex(RT_List &list) {
  if (!list.current) {
    return 0;
  }
  int32_t index = 1;
  for (RT_ListElement *element = list.current->previous; element; element = element->previous) {
    ++index;
  }
  return index;
}

void RT_FreeList(RT_List &list) {
  RT_ClearList(list);
  free(list.header);
  list.header = nullptr;
}
