// Object lists: walks that delete and add, cursor moves, zero-filled records.
#include "runtime/lists/lists.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The size of the game's rock record, so the tests handle elements of a real size.
struct Record {
  int32_t id;
  int32_t rest[8];
};

int32_t IdOf(RT_ListElement *element) {
  return element ? static_cast<Record *>(RT_ElementRecord(element))->id : -1;
}

class ListTest : public testing::Test {
protected:
  void SetUp() override { RT_NewList(list, sizeof(Record)); }
  void TearDown() override { RT_FreeList(list); }

  void Add(int32_t id) {
    RT_ListElement *element = RT_AddElement(list);
    ASSERT_NE(element, nullptr);
    RT_CurrentRecord<Record>(list)->id = id;
  }

  void Fill(const std::vector<int32_t> &ids) {
    for (int32_t id : ids) {
      Add(id);
    }
  }

  // The ids from first to last, after checking the links both ways and the header's ends.
  std::vector<int32_t> Ids() {
    std::vector<int32_t> ids;
    RT_ListElement *previous = nullptr;
    for (RT_ListElement *element = list.header->first; element; element = element->next) {
      EXPECT_EQ(element->previous, previous) << "broken back link at id " << IdOf(element);
      ids.push_back(IdOf(element));
      previous = element;
    }
    EXPECT_EQ(list.header->last, previous);
    return ids;
  }

  RT_List list;
};

enum class Action { Delete, Add };

struct WalkCase {
  const char *name;
  std::vector<int32_t> ids;
  int32_t at; // the id whose visit triggers the action
  Action action;
  std::vector<int32_t> visited;
  std::vector<int32_t> after;
  int32_t cursorAfter; // id the cursor rests on once the walk ended, -1 for none
};

// The game walks with ResetList and NextElement and deletes or adds inside the loop.
TEST_F(ListTest, WalkThatDeletesOrAdds) {
  const WalkCase cases[] = {
      {"delete first: successor passed", {1, 2, 3}, 1, Action::Delete, {1, 3}, {2, 3}, 3},
      {"delete middle", {1, 2, 3}, 2, Action::Delete, {1, 2, 3}, {1, 3}, 3},
      {"delete last: cursor on the one before", {1, 2, 3}, 3, Action::Delete, {1, 2, 3}, {1, 2}, 2},
      {"delete the only element", {1}, 1, Action::Delete, {1}, {}, -1},
      {"add after the first", {1, 2, 3}, 1, Action::Add, {1, 2, 3}, {1, 99, 2, 3}, 3},
      {"add after the last", {1, 2, 3}, 3, Action::Add, {1, 2, 3}, {1, 2, 3, 99}, 99},
  };
  for (const WalkCase &c : cases) {
    SCOPED_TRACE(c.name);
    RT_ClearList(list);
    Fill(c.ids);
    std::vector<int32_t> visited;
    RT_ResetList(list);
    while (RT_NextElement(list)) {
      int32_t id = RT_CurrentRecord<Record>(list)->id;
      visited.push_back(id);
      if (id != c.at) {
        continue;
      }
      if (c.action == Action::Delete) {
        RT_DeleteElement(list);
      } else {
        Add(99);
      }
    }
    EXPECT_EQ(visited, c.visited);
    EXPECT_EQ(Ids(), c.after);
    EXPECT_EQ(IdOf(list.current), c.cursorAfter);
    EXPECT_EQ(RT_NextElement(list), nullptr) << "a finished walk stays finished";
  }
}

// Every element expiring in one walk, as all the debris does: the first's successor survives
// the pass and goes in the next one.
TEST_F(ListTest, WalkThatDeletesEverything) {
  Fill({1, 2, 3, 4});
  for (std::vector<int32_t> expected : {std::vector<int32_t>{1, 3, 4}, {2}}) {
    std::vector<int32_t> visited;
    RT_ResetList(list);
    while (RT_NextElement(list)) {
      visited.push_back(RT_CurrentRecord<Record>(list)->id);
      RT_DeleteElement(list);
    }
    EXPECT_EQ(visited, expected);
  }
  EXPECT_EQ(Ids(), std::vector<int32_t>{});
  EXPECT_EQ(list.current, nullptr);
}

TEST_F(ListTest, EmptyListIsHarmless) {
  RT_ResetList(list);
  EXPECT_EQ(RT_NextElement(list), nullptr);
  EXPECT_EQ(list.current, nullptr);
  EXPECT_EQ(RT_PreviousElement(list), nullptr);
  RT_DeleteElement(list);
  EXPECT_EQ(RT_FirstElement(list), nullptr);
  EXPECT_EQ(RT_LastElement(list), nullptr);
  EXPECT_EQ(RT_CountList(list), 0);
  EXPECT_EQ(RT_ListIndex(list), 0);
  EXPECT_EQ(RT_CurrentRecord<Record>(list), nullptr);
}

TEST_F(ListTest, AddAfterFinishedWalkAppendsAfterResetPrepends) {
  Fill({1, 2});
  RT_ResetList(list);
  while (RT_NextElement(list)) {
  }
  Add(3);
  RT_ResetList(list);
  Add(0);
  EXPECT_EQ(Ids(), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST_F(ListTest, InsertGoesBeforeCurrentOrInFront) {
  Fill({1, 3});
  RT_SelectElement(list, 1);
  ASSERT_NE(RT_InsertElement(list), nullptr);
  RT_CurrentRecord<Record>(list)->id = 2;
  RT_FirstElement(list);
  ASSERT_NE(RT_InsertElement(list), nullptr);
  RT_CurrentRecord<Record>(list)->id = 0;
  RT_ResetList(list);
  ASSERT_NE(RT_InsertElement(list), nullptr);
  RT_CurrentRecord<Record>(list)->id = -5;
  EXPECT_EQ(Ids(), (std::vector<int32_t>{-5, 0, 1, 2, 3}));
}

TEST_F(ListTest, ClearThenRefill) {
  for (std::vector<int32_t> ids : {std::vector<int32_t>{}, {1}, {1, 2, 3, 4, 5}}) {
    SCOPED_TRACE(ids.size());
    Fill(ids);
    RT_ClearList(list);
    EXPECT_EQ(list.header->first, nullptr);
    EXPECT_EQ(list.header->last, nullptr);
    EXPECT_EQ(list.current, nullptr);
    Add(7);
    EXPECT_EQ(Ids(), std::vector<int32_t>{7});
    RT_ClearList(list);
  }
}

// The cursor moves the game does not use itself.
TEST_F(ListTest, CursorMoves) {
  Fill({10, 11, 12});
  struct Move {
    const char *name;
    RT_ListElement *(*move)(RT_List &);
    int32_t result;
    int32_t cursor;
    int32_t index;
  };
  const Move moves[] = {
      {"first", RT_FirstElement, 10, 10, 1},
      {"previous at the start stays", RT_PreviousElement, -1, 10, 1},
      {"next", RT_NextElement, 11, 11, 2},
      {"last", RT_LastElement, 12, 12, 3},
      {"previous", RT_PreviousElement, 11, 11, 2},
  };
  for (const Move &m : moves) {
    SCOPED_TRACE(m.name);
    EXPECT_EQ(IdOf(m.move(list)), m.result);
    EXPECT_EQ(IdOf(list.current), m.cursor);
    EXPECT_EQ(RT_ListIndex(list), m.index);
  }

  struct Select {
    int32_t position;
    int32_t cursor;
  };
  for (Select s :
       {Select{0, 10}, Select{2, 12}, Select{3, 12}, Select{INT32_MAX, 12}, Select{-1, -1}}) {
    SCOPED_TRACE(s.position);
    RT_SelectElement(list, s.position);
    EXPECT_EQ(IdOf(list.current), s.cursor);
  }

  RT_SelectElement(list, 1);
  void *middle = RT_CurrentRecord<Record>(list);
  RT_FirstElement(list);
  RT_ChangeCurrentElement(list, middle);
  EXPECT_EQ(IdOf(list.current), 11);
  RT_ChangeCurrentElement(list, nullptr);
  EXPECT_EQ(list.current, nullptr);
  EXPECT_EQ(RT_CountList(list), 3);
}

// Records written through the typed pointer stay with their element, and a new element starts
// all zero even where freed memory full of data is reused.
TEST(ListRecords, NewRecordsAreZeroAndKeepWhatIsWritten) {
  for (int32_t size : {0, 1, 20, 36, 1000}) {
    SCOPED_TRACE(size);
    RT_List list;
    RT_NewList(list, size);
    ASSERT_NE(list.header, nullptr);
    for (int round = 0; round < 3; ++round) {
      RT_AddElement(list);
      auto *bytes = RT_CurrentRecord<unsigned char>(list);
      EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + size),
                std::vector<unsigned char>(size_t(size), 0));
      memset(bytes, 0xA5, size_t(size));
      RT_ResetList(list);
      RT_NextElement(list);
      EXPECT_EQ(RT_CurrentRecord<unsigned char>(list), bytes);
      if (size > 0) {
        EXPECT_EQ(bytes[size - 1], 0xA5);
      }
      RT_DeleteElement(list);
    }
    RT_FreeList(list);
    EXPECT_EQ(list.header, nullptr);
  }
}

// A list whose header could not be made stays empty and refuses elements.
TEST(ListRecords, ListWithoutHeaderStaysEmpty) {
  RT_List list;
  RT_NewList(list, -1);
  ASSERT_EQ(list.header, nullptr);
  EXPECT_EQ(RT_AddElement(list), nullptr);
  EXPECT_EQ(RT_InsertElement(list), nullptr);
  EXPECT_EQ(RT_NextElement(list), nullptr);
  EXPECT_EQ(RT_LastElement(list), nullptr);
  EXPECT_EQ(RT_CountList(list), 0);
  RT_ClearList(list);
  RT_FreeList(list);
  EXPECT_EQ(list.current, nullptr);
}

} // namespace
