// Object lists: doubly linked lists of fixed-size, zero-filled records, walked
// with a current-element cursor that belongs to the caller's list variable.
//
// A walk is RT_ResetList, then RT_NextElement until it returns null. Adding while
// walking puts the new element after the visited one and makes it current, so the
// walk goes on behind it. Deleting the visited element leaves the cursor on its
// predecessor, except for the first element: then the cursor goes to its
// successor, which the walk's next step passes over.
//
// Out of memory, RT_NewList leaves the header null (a list that stays empty) and
// RT_AddElement / RT_InsertElement return null, leaving the list unchanged.
#pragma once

#include <cstdint>

struct RT_ListElement {
  RT_ListElement *next;     // null on the last element
  RT_ListElement *previous; // null on the first element
  // the record follows
};

struct RT_ListHeader {
  RT_ListElement *first; // null when empty
  RT_ListElement *last;  // null when empty
  int32_t elementSize;   // record size plus the links
};

// The caller's list variable.
struct RT_List {
  RT_ListHeader *header = nullptr;
  RT_ListElement *current = nullptr; // null: before the first element
};

void RT_NewList(RT_List &list, int32_t recordSize); // a negative size makes no header
RT_ListElement *RT_AddElement(RT_List &list);       // after the current one; null if out of memory
RT_ListElement *RT_InsertElement(RT_List &list);    // before the current one; null if out of memory
void RT_DeleteElement(RT_List &list);
void RT_ClearList(RT_List &list);
void RT_ResetList(RT_List &list);
RT_ListElement *RT_NextElement(RT_List &list);     // null at the end, cursor stays on the last
RT_ListElement *RT_PreviousElement(RT_List &list); // null at the start, cursor stays
RT_ListElement *RT_FirstElement(RT_List &list);
RT_ListElement *RT_LastElement(RT_List &list);
void RT_SelectElement(RT_List &list, int32_t position);    // 0-based
void RT_ChangeCurrentElement(RT_List &list, void *record); // null: before the first
int32_t RT_CountList(RT_List &list);
int32_t RT_ListIndex(RT_List &list); // 1-based position of the current element, 0 if none
void RT_FreeList(RT_List &list);     // clears the list and frees its header

// The record stored in an element.
inline void *RT_ElementRecord(RT_ListElement *element) {
  return element ? reinterpret_cast<char *>(element) + sizeof(RT_ListElement) : nullptr;
}

// The current element's record, typed; null when the cursor is before the first.
template <class Record> Record *RT_CurrentRecord(const RT_List &list) {
  return static_cast<Record *>(RT_ElementRecord(list.current));
}
