#pragma once
// The widget layer: windows and controls on Qt Widgets, with a dark look drawn from the
// skin folder's images, or drawn with flat colours where an image is missing.
//
// Settings (Settings.h), process-wide, any thread:
//   setDeviceName / deviceName, setThemeName / themeName, setSkinFolder / skinFolder,
//   setDefaultFontName / defaultFontName, setSelectionColour / selectionColour.
//
// Windows (Dialog.h): derive from Dialog and override the hooks, in their order:
//   OnWindowMessage(message, wParam, lParam)  numbered messages (postMessage/sendMessage)
//   OnInitDialog()                            start-up; the base runs InitUI then UISize
//   InitUI(client)                            create the controls with add<Kind>(id, rect)
//   UISize(client)                            lay them out (again on every resize)
//   OnMessage(controlId, code, p1, p2)        control notifications (codes below)
//   OnNcActivate(active), OnTimer(timerId), DestroyWindow()
// Operations: create(parent, title, Style, ExStyle, rect), centre(), runModal(Show) ->
//   result, endModal(result), show()/hide()/move() (QWidget), setTimer(id, ms) /
//   stopTimer(id), setBackgroundImage(name), setBackgroundColours(fill, border),
//   control(id) / find<Kind>(id), Dialog::windows(). Message::Close ends a modal run
//   (wParam = result) or destroys the window; Message::Command carries menu choices.
//   A modal run blocks only the parent's window; DestroyWindow ends it, keeps the object
//   and its controls readable, and a later create() starts afresh.
//
// Notifications (Control.h, Notify::):
//   2 Click        click, choice of an item, end of a slider or palette drag
//   8 Moving       slider thumb moving (p1 = position)
//   26 TextChanged text or number field edited by the user (p1 = number for NumberField)
//   27 ColourPicked palette selection moving (p1 = 0x00BBGGRR)
//   29 FocusLost, 30 FocusGained
// What each kind reports (Click unless noted):
//   PushButton, CheckBox    every click; p1 = checked state (0 for a plain button)
//   RadioButton             a click that checks it, p1 = 1 (on the checked one: nothing)
//   ColourSwatch            every click; p1 = its colour (0x00BBGGRR)
//   ComboBox                the user's choice; p1 = index, p2 = item data
//   ListBox                 a change of the current item; p1 = index, p2 = item data
//   TabControl, KeyList, MousePicture, DeviceList: every click on an item; p1 = index,
//                           p2 = item id, key value, key value, device type
//   Slider                  Moving while held, then one Click; p1 = position
//   ColourPalette           ColourPicked while held, then one Click; p1 = colour
//   TextField, NumberField  TextChanged per edit; Enter ends the edit (FocusLost)
//   StaticText, Picture     Click only after setClickable(true)
//   Panel, ProgressBar      nothing
// Every focusable kind reports FocusGained / FocusLost with p1 = 0.
// Only the user's actions notify. Every setter (setChecked, setCurrentIndex, setPosition,
// setValue, setText, select, clampToRange, ...) changes the control silently, so an
// OnMessage handler may set values freely without being called back. A control's
// notification raised while its previous one is still being handled is dropped.
//
// Control kinds (every one: id(), geometry/setGeometry, setVisible/isHidden, setEnabled,
// setToolTip, setText/text, setTextFont(family, pixelSize, FontStyle), setAlignment,
// setTextColour; ltrb(l, t, r, b) builds a rect from edges):
//   StaticText, Picture, Panel (container)      StaticText.h, Picture.h
//   PushButton (images per state, glyph, toggle, link)   PushButton.h
//   CheckBox                                    CheckBox.h
//   RadioButton (named exclusive groups)         GroupedButton.h
//   ColourSwatch (colour button, grouped)        ColourSwatch.h
//   ColourPalette                                ColourPalette.h
//   ComboBox, ListBox (items with int data)      ComboBox.h, ListBox.h
//   TabControl (items with ids and icons)        TabControl.h
//   Slider, ProgressBar                          Slider.h, ProgressBar.h
//   TextField, NumberField                       TextField.h
//   DeviceList, MousePicture, KeyList            DeviceList.h, MousePicture.h, KeyList.h
//
// Also: PopupMenu / closePopupMenus (Menu.h), loadIcon (Icon.h), post (Post.h: run a
// function on the UI thread from any thread), colourFromBgr / bgrFromColour (Colour.h),
// skin colours and images (Skin.h), drawing helpers (Drawing.h).
//
// Threads: everything except the settings, Dialog::postMessage and post() belongs to the
// UI thread. Another thread hands UI work over with post() and never touches a widget.

#include "ui/base/Colour.h"
#include "ui/base/Control.h"
#include "ui/base/Dialog.h"
#include "ui/base/Post.h"
#include "ui/base/Settings.h"
#include "ui/base/Skin.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/Menu.h"
#include "ui/controls/ProgressBar.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourPalette.h"
#include "ui/views/ColourSwatch.h"
#include "ui/views/DeviceList.h"
#include "ui/views/Icon.h"
#include "ui/views/KeyList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/Picture.h"
#include "ui/views/TabControl.h"
