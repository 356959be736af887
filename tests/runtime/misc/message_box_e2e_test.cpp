// The real message box on a virtual X server: buttons are clicked and the box closed
// from inside its own GTK loop.
#include "runtime/misc/message_break.h"
#include "runtime/misc/misc.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "tests/xvfb_server.h"

class MessageBoxOnDisplay : public testing::Test {
protected:
  static void SetUpTestSuite() {
    server = new XvfbServer;
    setenv("NO_AT_BRIDGE", "1", 1); // no accessibility bus on a bare server
    toolkitUp = server->up() && RT_InitWindow() == 1;
  }
  static void TearDownTestSuite() { delete server; }
  void SetUp() override { ASSERT_TRUE(toolkitUp) << "Xvfb or the toolkit did not start"; }

  static inline XvfbServer *server = nullptr;
  static inline bool toolkitUp = false;
};

// What the clicker does to the box and what it saw of it.
struct Visit {
  explicit Visit(const char *button) : press(button) {}
  const char *press; // the button to click; null closes the box as a window manager would
  std::vector<std::string> labels;
  std::string title;
  int width = 0, height = 0;
  bool modal = false;
  bool pressed = false;
};

static GtkWindow *OpenDialog() {
  GtkWindow *found = nullptr;
  GList *windows = gtk_window_list_toplevels();
  for (GList *w = windows; w; w = w->next)
    if (GTK_IS_DIALOG(w->data))
      found = GTK_WINDOW(w->data);
  g_list_free(windows);
  return found;
}

static void CollectButtons(GtkWidget *widget, std::vector<GtkButton *> &buttons) {
  if (GTK_IS_BUTTON(widget)) {
    buttons.push_back(GTK_BUTTON(widget));
    return;
  }
  if (!GTK_IS_CONTAINER(widget))
    return;
  GList *children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList *c = children; c; c = c->next)
    CollectButtons(GTK_WIDGET(c->data), buttons);
  g_list_free(children);
}

static gboolean VisitBox(gpointer data) {
  Visit &visit = *static_cast<Visit *>(data);
  GtkWindow *dialog = OpenDialog();
  if (!dialog)
    return G_SOURCE_CONTINUE;
  visit.title = gtk_window_get_title(dialog);
  visit.modal = gtk_window_get_modal(dialog);
  gtk_window_get_default_size(dialog, &visit.width, &visit.height);
  std::vector<GtkButton *> buttons;
  CollectButtons(GTK_WIDGET(dialog), buttons);
  for (GtkButton *button : buttons)
    visit.labels.push_back(gtk_button_get_label(button));
  for (size_t i = 0; i < buttons.size(); i++)
    if (visit.press && visit.labels[i] == visit.press) {
      visit.pressed = true;
      gtk_button_clicked(buttons[i]);
      return G_SOURCE_REMOVE;
    }
  gtk_window_close(dialog); // also when the button was not found, so the test ends
  return G_SOURCE_REMOVE;
}

TEST_F(MessageBoxOnDisplay, ButtonsByFlagsAndTheirValues) {
  const std::vector<std::string> ok = {"Ok"}, yesNo = {"Yes", "No"},
                                 yesNoCancel = {"Yes", "No", "Cancel"};
  const struct {
    int32_t flags;
    const char *press;
    const std::vector<std::string> &labels;
    int width;
    int32_t result;
  } cases[] = {
      {0, "Ok", ok, 100, 1},
      {0, nullptr, ok, 100, 0}, // closed: 0, unlike Ok
      {7, "Ok", ok, 100, 1},
      {1, "Yes", yesNo, 250, 1},
      {1, "No", yesNo, 250, 0},
      {1, nullptr, yesNo, 250, 0},
      {2, "Yes", yesNoCancel, 300, 2},
      {2, "No", yesNoCancel, 300, 1},
      {2, "Cancel", yesNoCancel, 300, 0},
      {2, nullptr, yesNoCancel, 300, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "flags " << c.flags << " pressing " << (c.press ? c.press : "(close)"));
    Visit visit{c.press};
    g_timeout_add(10, VisitBox, &visit); // runs until it has answered the box
    EXPECT_EQ(RT_MessageRequester2("Question", "Which one?", c.flags), c.result);
    EXPECT_EQ(visit.labels, c.labels);
    EXPECT_EQ(visit.pressed, c.press != nullptr);
    EXPECT_EQ(visit.title, "Question");
    EXPECT_TRUE(visit.modal);
    EXPECT_EQ(visit.width, c.width);
    EXPECT_EQ(visit.height, 50);
    EXPECT_EQ(OpenDialog(), nullptr) << "the box outlives its answer";
  }
}

TEST_F(MessageBoxOnDisplay, ShownTextAlsoGoesToStderr) {
  Visit visit{"Ok"};
  g_timeout_add(10, VisitBox, &visit);
  testing::internal::CaptureStderr();
  EXPECT_EQ(RT_MessageRequester("Error", "Could Not Initialize Video Hardware"), 1);
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("Error: Could Not Initialize Video Hardware\n"), std::string::npos)
      << written;
  EXPECT_TRUE(visit.pressed);
}

// A request to quit from another thread, as a signal handler makes it, closes the box
// unanswered; one made before the box leaves only the line on stderr. Should the box
// wait on, the clicker presses Ok after five seconds, so the test fails, not hangs.
TEST_F(MessageBoxOnDisplay, BreakClosesTheBoxUnanswered) {
  static std::atomic<int32_t> requested;
  requested = 0;
  misc::SetMessageBoxBreak([]() -> int32_t { return requested; });
  Visit late{"Ok"};
  const guint clicker = g_timeout_add(5000, VisitBox, &late);
  std::thread outside([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    requested = SIGTERM;
  });
  EXPECT_EQ(RT_MessageRequester2("Error", "Could Not Initialize Audio Hardware", 0), 0);
  outside.join();
  EXPECT_FALSE(late.pressed) << "the box waited for a click";
  if (!late.pressed)
    g_source_remove(clicker);
  EXPECT_EQ(OpenDialog(), nullptr);

  testing::internal::CaptureStderr();
  EXPECT_EQ(RT_MessageRequester2("Error", "Could Not Initialize Audio Hardware", 0), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Could Not Initialize Audio Hardware\n");
  misc::SetMessageBoxBreak(nullptr);
}
