// The modal message box (GTK 3) and the start-up calls of the window and image-decoder
// libraries, of which the game needs only the toolkit start-up.
#include "runtime/misc/message_break.h"
#include "runtime/misc/misc.h"

#include <cstdio>
#include <cstdlib>
#include <gtk/gtk.h>

// What the box's callbacks report to its loop.
enum BoxStatus : int32_t { Destroyed = -1, Answered = 0, Waiting = 1 };

struct BoxButton {
  const char *label;
  int32_t value;
};

struct ButtonSet {
  BoxButton buttons[3];
  int count;
  int width; // default width of the box with these buttons
};

constexpr int BoxHeight = 50;
constexpr int LabelPadding = 10;
constexpr guint BreakPollMs = 100; // how often a showing box looks at the break check

static bool WindowsReady = false; // RT_InitWindow has run
static int Toolkit = -1;          // GTK: -1 not tried yet, 0 could not start, 1 up
static int32_t BoxState = Answered;
static int32_t BoxResult = 0;
static int32_t (*BreakCheck)() = nullptr; // non-zero: close the box unanswered

// GTK starts with the first box: its start costs a third of a second and tens of
// megabytes, which a game that never shows a box should not pay. gtk_init_check,
// unlike gtk_init, returns instead of ending the process without a display.
static bool ToolkitUp() {
  if (Toolkit < 0)
    Toolkit = gtk_init_check(nullptr, nullptr) ? 1 : 0;
  return Toolkit == 1;
}

static const ButtonSet &ButtonsFor(int32_t flags) {
  static const ButtonSet yesNo{{{"Yes", 1}, {"No", 0}}, 2, 250};
  static const ButtonSet yesNoCancel{{{"Yes", 2}, {"No", 1}, {"Cancel", 0}}, 3, 300};
  static const ButtonSet ok{{{"Ok", 1}}, 1, 100};
  return flags == 1 ? yesNo : flags == 2 ? yesNoCancel : ok;
}

static bool BreakRequested() {
  return BreakCheck && BreakCheck() != 0;
}

// Wakes the box's loop, which may otherwise sleep until the next event, to look at the break.
static gboolean OnBreakPoll(gpointer) {
  return G_SOURCE_CONTINUE;
}

static void OnBoxDestroyed(GtkWidget *, gpointer) {
  BoxState = Destroyed;
}

static void OnButtonClicked(GtkButton *, gpointer value) {
  BoxResult = GPOINTER_TO_INT(value);
  BoxState = Answered;
}

static GtkWidget *MakeBox(const char *title, const char *text, int32_t flags) {
  GtkWidget *dialog = gtk_dialog_new();
  GtkWidget *label = gtk_label_new(text);
  gtk_window_set_title(GTK_WINDOW(dialog), title);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_default_size(GTK_WINDOW(dialog), 300, BoxHeight);
  g_signal_connect(dialog, "destroy", G_CALLBACK(OnBoxDestroyed), nullptr);

  const ButtonSet &set = ButtonsFor(flags);
  for (int i = 0; i < set.count; i++) {
    GtkWidget *button = gtk_button_new_with_label(set.buttons[i].label);
    gtk_dialog_add_action_widget(GTK_DIALOG(dialog), button, GTK_RESPONSE_NONE);
    g_signal_connect(button, "clicked", G_CALLBACK(OnButtonClicked),
                     GINT_TO_POINTER(set.buttons[i].value));
  }
  gtk_window_set_default_size(GTK_WINDOW(dialog), set.width, BoxHeight);

  gtk_widget_set_margin_start(label, LabelPadding);
  gtk_widget_set_margin_end(label, LabelPadding);
  gtk_widget_set_margin_top(label, LabelPadding);
  gtk_widget_set_margin_bottom(label, LabelPadding);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), label, TRUE, TRUE,
                     0);
  return dialog;
}

int32_t RT_MessageRequester2(const char *title, const char *text, int32_t flags) {
  title = title ? title : "";
  text = text ? text : "";
  // Also on stderr, so the message survives a missing display or a closed terminal box.
  fprintf(stderr, "%s: %s\n", title, text);
  if (!WindowsReady || BreakRequested() || !ToolkitUp())
    return 0;

  GtkWidget *dialog = MakeBox(title, text, flags);
  gtk_widget_show_all(dialog);
  BoxState = Waiting;
  BoxResult = 0;
  const guint breakPoll = g_timeout_add(BreakPollMs, OnBreakPoll, nullptr);
  while (BoxState == Waiting && !BreakRequested())
    gtk_main_iteration();
  g_source_remove(breakPoll);
  // Closed by the window manager: GTK has destroyed the box already.
  if (BoxState != Destroyed)
    gtk_widget_destroy(dialog);
  while (gtk_events_pending())
    gtk_main_iteration_do(FALSE);
  return BoxResult;
}

void misc::SetMessageBoxBreak(int32_t (*quitRequested)()) {
  BreakCheck = quitRequested;
}

int32_t RT_MessageRequester(const char *title, const char *text) {
  return RT_MessageRequester2(title, text, 0);
}

int32_t RT_InitWindow() {
  WindowsReady = true;
  return getenv("DISPLAY") || getenv("WAYLAND_DISPLAY") ? 1 : 0;
}

// The game loads no image and opens no window: these have nothing to do.
int32_t RT_InitImageDecoder() {
  return 1;
}
void RT_CloseWindow(int32_t) {}
void RT_FreeWindows() {}
