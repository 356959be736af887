// The real message box on a virtual X server: buttons are clicked and the box closed
// from inside its own GTK loop.
#include "runtime/misc/misc.h"

#include <csignal>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

constexpr int kFirstDisplay = 300;
constexpr int kDisplayAttempts = 20;
constexpr int kServerStartMilliseconds = 20000;

// Waits for Xvfb's whole line with its display number: it writes the newline apart, and
// dies if the pipe is closed before it. End of file means it gave up.
static bool ReadLine(int fd) {
  pollfd wait{fd, POLLIN, 0};
  char c = 0;
  while (c != '\n')
    if (poll(&wait, 1, kServerStartMilliseconds) != 1 || read(fd, &c, 1) != 1)
      return false;
  return true;
}

// Starts Xvfb on the given display; its pid once it accepts connections, else 0.
static pid_t StartXvfb(int display) {
  int ready[2];
  if (pipe(ready) != 0)
    return 0;
  const pid_t pid = fork();
  if (pid == 0) {
    close(ready[0]);
    prctl(PR_SET_PDEATHSIG, SIGTERM); // no server left behind by a crashed test
    const std::string name = ":" + std::to_string(display), fd = std::to_string(ready[1]);
    execlp("Xvfb", "Xvfb", name.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "640x480x24",
           "-nolisten", "tcp", nullptr);
    _exit(127);
  }
  close(ready[1]);
  const bool up = pid > 0 && ReadLine(ready[0]);
  close(ready[0]);
  if (up)
    return pid;
  if (pid > 0) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
  return 0;
}

class MessageBoxOnDisplay : public testing::Test {
protected:
  static void SetUpTestSuite() {
    for (int i = 0; i < kDisplayAttempts && server == 0; i++) {
      const int display = kFirstDisplay + (getpid() + i * 37) % 600;
      server = StartXvfb(display);
      if (server != 0)
        setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    }
    setenv("NO_AT_BRIDGE", "1", 1); // no accessibility bus on a bare server
    toolkitUp = server != 0 && RT_InitWindow() == 1;
  }
  static void TearDownTestSuite() {
    if (server != 0) {
      kill(server, SIGTERM);
      waitpid(server, nullptr, 0);
    }
  }
  void SetUp() override { ASSERT_TRUE(toolkitUp) << "Xvfb or the toolkit did not start"; }

  static inline pid_t server = 0;
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
