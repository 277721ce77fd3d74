#include "app/popup_keyboard.h"

#include <gtest/gtest.h>

namespace {

TEST(PopupKeyboard, APopupTakesTheKeyboardAtOnceUnlessTheUserTypesInAnotherDialog) {
  PopupKeyboard keyboard;
  EXPECT_TRUE(keyboard.Opened({.own_dialog_active = false}));
  EXPECT_FALSE(keyboard.waiting());
  EXPECT_FALSE(keyboard.TakeNow(/*popup_open=*/true, [] { return false; }));

  EXPECT_FALSE(keyboard.Opened({.own_dialog_active = true}));
  EXPECT_TRUE(keyboard.waiting());
}

TEST(PopupKeyboard, APopupLeavesTheKeyboardWithTheActiveMainWindowUnlessTheUserAskedForIt) {
  PopupKeyboard keyboard;
  // Enter meant for the main window must not answer it; it does not wait
  // for the keyboard either: the user clicks it.
  EXPECT_FALSE(keyboard.Opened({.main_window_active = true}));
  EXPECT_FALSE(keyboard.waiting());
  EXPECT_TRUE(keyboard.Opened({.main_window_active = true, .asked_for = true}));
  // A dialog of the program comes first, even for a popup asked for.
  EXPECT_FALSE(keyboard.Opened({.own_dialog_active = true, .main_window_active = false, .asked_for = true}));
  EXPECT_TRUE(keyboard.waiting());
}

TEST(PopupKeyboard, AWaitingPopupTakesItOnceNoDialogOfTheProgramIsActive) {
  PopupKeyboard keyboard;
  keyboard.Opened({.own_dialog_active = true});
  EXPECT_FALSE(keyboard.TakeNow(/*popup_open=*/true, [] { return true; }));
  EXPECT_TRUE(keyboard.waiting());
  EXPECT_TRUE(keyboard.TakeNow(/*popup_open=*/true, [] { return false; }));
  // Once: it waits no more.
  EXPECT_FALSE(keyboard.waiting());
  EXPECT_FALSE(keyboard.TakeNow(/*popup_open=*/true, [] { return false; }));
}

TEST(PopupKeyboard, APopupThatEndedOrIsNotOpenTakesNothing) {
  PopupKeyboard keyboard;
  keyboard.Opened({.own_dialog_active = true});
  EXPECT_FALSE(keyboard.TakeNow(/*popup_open=*/false, [] { return false; }));
  keyboard.Ended();
  EXPECT_FALSE(keyboard.waiting());
  int asked = 0;
  EXPECT_FALSE(keyboard.TakeNow(/*popup_open=*/true, [&] {
    ++asked;
    return false;
  }));
  // Nothing waits: the window is not even asked (that costs calls every second).
  EXPECT_EQ(asked, 0);
}

}  // namespace
