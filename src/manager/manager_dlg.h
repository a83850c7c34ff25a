#pragma once
// CManagerDlg: the program's main window (template 102). It owns the six
// record collections for the whole run, shows one view of them at a time,
// and carries the toolbar, the tray icon and the tray menu. Start-up runs it
// modally; when it closes the program ends.
//
//   CManagerDlg manager(UserFolder(), TmpFolder(), currentPassword);
//   manager.DoModal();
//
// One class, its methods split by concern into files of this folder:
//   manager_dlg.cpp       initialisation, closing, the command router
//   manager_controls.cpp  the controls: adopted, made, found by id
//   manager_view.cpp      views: the switch, the chosen day; layout, sizing,
//                         the status line
//   manager_theme.cpp     theme, painting when minimised
//   manager_records.cpp   loading, merging, the date list, saving
//   manager_config.cpp    the configuration button (options, change password)
//   manager_about.cpp     the About box
//   manager_lists.cpp     filling the lists, a date or line chosen
//   manager_commands.cpp  the item commands of the toolbar
//   manager_tray.cpp      tray icon, tray menu, keys
//   manager_cache.cpp     the browser-cache view
//   manager_context.cpp   the lists' context menus, Copy and Select all
//   manager_export.cpp    Export to text, CSV or HTML
//   manager_stats.cpp     the Statistics window of a log
//   manager_sites.cpp     the grouped view by site, a site's lines
//   manager_filter.cpp    the quick filter above the item list
//   manager_days.cpp      the chosen days: one, or several at once
// The decisions live in src/core (manager_views.h, manager_layout.h).
#include <map>
#include <memory>
#include <string>

#include "config/config_dlg.h"
#include "core/manager_views.h"
#include "core/record_file.h"
#include "core/site_export.h"
#include "framework/combo_box.h"
#include "framework/edit.h"
#include "framework/gdi.h"
#include "framework/static.h"
#include "manager/login_dlg.h"
#include "records/day_files.h"
#include "skin/flash_host.h"
#include "skin/mac_btn_group.h"
#include "skin/mac_button.h"
#include "skin/mac_radio_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_list_box.h"
#include "skin/skin_menu.h"

namespace krx {

// Asked before Delete and before a whole day is deleted.
inline constexpr char kDeleteQuestion[] = "Do you want to delete the selected item(s)?";
// Find's answers, also those of Find in all days.
inline constexpr char kNotFound[] = "Not Found.";
inline constexpr char kSearchAgain[] = "Search again from beginning?";

class CManagerDlg : public CSkinDialog {
 public:
  static constexpr UINT kTemplateId = 102;
  // Visibility states (Part of the tray's life): shown on screen, or hidden
  // with only the tray icon left.
  enum Visibility { kShown = 1, kHidden = 2 };

  // password is the current password: the password change may change it,
  // and every record file is stamped with it.
  CManagerDlg(std::string userFolder, std::string tmpFolder, std::string& password, HWND parent = nullptr);
  ~CManagerDlg() override;

  // ---- What tests and the concern files read ----
  // The current view: the id of the selector button that is down.
  int CurrentView() const;
  RecordCollections& Collections() { return collections_; }
  StringArray& CollectionOf(RecordCollection c) { return collections_[c]; }
  CConfigDlg& Settings() { return settings_; }
  NMacBtnGroup& ViewSelector() { return viewSelector_; }
  CSkinListBox& DateList() { return dateList_; }
  CSkinListBox& ItemList() { return itemList_; }
  CEdit& InputBox() { return inputBox_; }
  CStatic& StatusLine() { return statusLine_; }
  CEdit& DetailsBox() { return detailsBox_; }
  CComboBox& CacheField() { return cacheField_; }
  CComboBox& CacheOperator() { return cacheOperator_; }
  CEdit& CacheValue() { return cacheValue_; }
  NFlash& FlashPlayer() { return flash_; }
  CSkinMenu& TrayMenu() { return trayMenu_; }
  CLoginDlg& LoginDialog() { return loginDlg_; }
  // The skinned push button with this id (toolbar, bottom row, caption,
  // "Fetch Cache"), or nullptr.
  CMacButton* Button(int id);
  // The cache radio button 500, 501 or 502, or nullptr.
  CMacRadioButton* Radio(int id);
  int GetVisibility() const { return visibility_; }
  const std::string& UserFolderPath() const { return userFolder_; }
  const std::string& TmpFolderPath() const { return tmpFolder_; }

  // ================= window (manager_dlg.cpp, manager_view.cpp, manager_theme.cpp,
  // =================         manager_records.cpp, manager_config.cpp, manager_about.cpp)
  // Makes view v current: merge (logs), empty the lists and the status
  // line, build the date list and choose a day (logs) or fill the list
  // (lists), lay out; with drawing held off until the view stands whole.
  void SwitchView(int v);
  // In a log view: chooses the day last chosen there by the user during
  // this run while the date list holds it, or else the newest, and lists it.
  void ChooseDay();
  // Places and shows the controls for the current view; width and height
  // are the window's outer size.
  void LayoutControls(int width, int height);
  // Re-skins the window, its controls, its lists and the tray menu.
  void ApplyTheme(int theme);
  // The configuration button and the tray's "Config".
  void OnConfiguration();
  // The About box, modal, in the current theme.
  void OnAbout();
  // Reads the day files into the logs; when any was found and
  // showNewRecords, new days go to the date list and the item list is topped
  // up (a date list that was empty chooses a day, as ChooseDay).
  void MergeDayFiles(bool showNewRecords = true);
  // Adds the date keys of the current log view that the date list lacks.
  void BuildDateList();
  // Reads the six record files under the current password and the marks
  // of the day files; names the files that are there but cannot be read.
  void LoadRecordFiles();
  // Writes the six record files under the current password, and the day
  // files' marks beside them; the names of the files not written.
  std::vector<std::string> SaveRecordFiles();
  // The same after a list command: false, after saying so, when the list's
  // own file was not written.
  bool SaveList(RecordCollection list);
  // Sets the status line's text.
  void SetStatusText(const std::string& text);
  // The date list's chosen day in a log view, the focused one when several
  // are chosen (empty in the other views); false when a log view has no day
  // chosen (manager_days.cpp).
  bool ChosenDay(int view, std::string& date) const;
  // The date keys of the days chosen in the date list of the current log
  // view, in list order (oldest first, the empty key first when chosen);
  // empty in the other views and when no day is chosen. What the item list
  // shows, and what Export this day, Delete this day, the quick filter and
  // the statistics act on (manager_days.cpp).
  StringArray ChosenDays() const;
  // The date list's focused chosen day, or -1 when none is chosen.
  int FocusedDay() const;
  // "Last 7 days", "Last 30 days", "All days" of the date list's menu: the
  // listed days in that span up to today are chosen and listed together.
  void OnChooseSpan(int command);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The command router: one method per command.
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  // -- window: initialisation steps (manager_controls.cpp)
  void AdoptTemplateControls();
  void CreateCaptionControls();
  void CreateRunTimeControls();
  void SetToolTipsAndIcons();
  void FillCacheCombos();
  void RunDialogInitData();
  // -- window: closing (manager_dlg.cpp)
  void OnDestroy();
  // What the close keeps - the view, the options, the records - and the day
  // files it clears; once, at the close or at the end of the session.
  void SaveForClose();
  // WM_ENDSESSION: Windows is logging off or shutting down.
  void OnEndSession(bool ending);
  // -- window: views (manager_view.cpp). The selector's buttons and the
  // view last shown; a view command (a click or from elsewhere).
  void CreateViewSelector();
  void OnViewCommand(int v);
  // -- window: sizing (manager_view.cpp). Dragging by the caption strip,
  // activation and control colours follow the skinned dialog's own rules.
  void OnSize(UINT type);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void AddDateKeysToList(size_t from);
  // The date list's chosen day becomes the view's day to come back to.
  void RememberChosenDay();
  // -- window: painting when minimised (manager_theme.cpp)
  bool OnPaintMinimised();

  // ================= lists (manager_lists.cpp)
 public:
  // Lists the current view's lines (logs: of the chosen day), sets the
  // item list's horizontal extent and writes the status line.
  void FillItemList();
  // The status line's count of the item list as it is now (not the cache).
  void RefreshStatusText();
  // LBN_SELCHANGE of the date list, and a day chosen by the user's
  // command: remember it for the view, empty the item list, list the day.
  void OnDateChosen();
  // Empty the item list and list the chosen day.
  void ListChosenDay();
  // LBN_SELCHANGE of the item list: input box, flash player or cache details.
  void OnLineChosen();
  // CBN_SELCHANGE of the cache field: enable the operator and value.
  void OnCacheFieldChosen();
  // TRUE when a line of list equals text exactly.
  BOOL ListContains(const CSkinListBox& list, const std::string& text) const;

 private:
  // ================= end of lists

  // ================= commands (manager_commands.cpp)
 public:
  void OnVisitPlay();
  void OnSaveFlash();
  void OnDeleteItems();
  // Delete's removal without the question: the selected lines go from the
  // list and the collection.
  void RemoveSelectedLines();
  void OnFind();
  void OnAddToWhiteList();
  void OnAddToForbiddenList();
  void OnAddNewItem();
  // Enter in the input box of the two lists: Add new item, then an empty box.
  void OnEnterNewItem();
  void OnUpdateItem();
  void OnRefresh();
  void OnHelp();
  void OnSendEmail();
  void OnWebSite();
  void OnOnlineUpdate();

 private:
  // ================= end of commands

  // ================= tray and keys (manager_tray.cpp)
 public:
  void BuildTrayMenu();
  void AddTrayIcon();
  void RemoveTrayIcon();
  // The shell's "TaskbarCreated": the tray icon is added again on it, or a
  // window hidden in the tray could no longer be reached after Explorer restarts.
  static UINT TaskbarCreatedMessage();
  // WM_TRAYNOTIFY: mouseMessage is the mouse message in lParam.
  void OnTrayNotify(UINT mouseMessage);
  // FALSE when the password was asked and not given.
  BOOL ToggleVisibility();
  // TRUE when the login dialog closed with OK.
  BOOL AskPassword();
  // The tray menu's commands 2210-2219.
  void OnTrayCommand(UINT id);
  // F3, Shift+F3, Delete in the item list, F5, Enter in the input box.
  bool PreTranslateMessage(MSG* msg) override;

 private:
  // ================= end of tray and keys

  // ================= context menus (manager_context.cpp)
 public:
  // WM_CONTEXTMENU over `list` at screen point `at` ((-1,-1) from the keyboard).
  void OnContextMenu(HWND list, POINT at);
  // The context menu last opened, or nullptr.
  CSkinMenu* ContextMenu() { return contextMenu_.get(); }
  // The selected lines, one a line, as text on the clipboard (Ctrl+C).
  void OnCopy();
  // Selects every line of the item list (Ctrl+A).
  void OnSelectAll();
  // The date list's "Delete this day": after the delete question, every
  // line of the chosen day goes, and the day leaves the date list.
  void OnDeleteDay();
  // "Export..." (the whole log or list) and "Export this day..." (the
  // chosen day): the Save As dialog, then the records as text, CSV or HTML.
  void OnExport(bool chosenDay);
  // "Find in all days": the input box's text from the focused line on,
  // through the later days, asking before it wraps to the first.
  void OnFindAllDays();
  // The Statistics window of the current log (F7, the date list's menu);
  // nothing in the other views.
  void OnStatistics();

  // ---- by site (manager_sites.cpp)
  // The grouped view of the chosen days (Ctrl+G, the item list's menu);
  // nothing in the other views or without a chosen day.
  void OnGroupBySite();
  // Shows the lines of `host` (a site as the grouping counts it): the item
  // list selects them, the first one focused and in view; the status line
  // says how many. False when the list holds none.
  bool ShowSiteLines(const std::string& host);
  // The first-day index of the current log view's log, built at its first
  // use after a load; nullptr in the other views.
  SiteFirstDays* FirstDaysOfView();
  // The grouped view's Export: Save As over `owner`, then the rows as text,
  // CSV or HTML, the bytes `krxtool sites` writes for the same days
  // (manager_export.cpp).
  void OnExportSites(HWND owner, const std::vector<SiteRow>& rows, const std::vector<std::string>& days);
  // Add to White/Forbidden list for a grouped row: its host.
  void AddHostToList(RecordCollection list, const std::string& host);

 private:
  std::unique_ptr<CSkinMenu> contextMenu_;
  // ================= end of context menus

  // ================= quick filter (manager_filter.cpp)
 public:
  CEdit& QuickFilter() { return quickFilter_; }
  // Ctrl+Q and the item list's menu: the filter's row appears (in a view
  // that has one) and takes the focus, its text selected.
  void ShowQuickFilter();
  // Escape in the field: the text goes, the row hides, the whole list comes
  // back with the chosen lines still chosen, and the item list has the focus.
  void ClearQuickFilter();
  // EN_CHANGE of the field: the list follows shortly after the last key.
  void OnQuickFilterChanged();
  // The item list shows the lines that hold the field's text (all of them
  // for an empty field); the status line counts them.
  void ApplyQuickFilter();
  // True while the item list shows only some of its lines.
  bool QuickFilterOn() const { return filterOn_; }
  // The item list's lines while the filter is on, and which of them are on
  // show (indexes into the former, in list order).
  const StringArray& WholeListLines() const { return wholeLines_; }

 private:
  void CreateQuickFilter();
  // Every line back in the item list, the chosen ones chosen; the filter's
  // text stays. Nothing when the filter is off.
  void ShowWholeList();
  // The item list was emptied by someone else: what the filter kept goes.
  void ForgetWholeList();
  // The item list's lines kept aside as the whole list (read from the list
  // unless the copy kept before is still true to it).
  void KeepWholeList();
  // Delete took the selected lines out of the list: out of the whole list too.
  void ForgetShownLines(const std::vector<int>& positions);
  static constexpr UINT_PTR kQuickFilterTimer = 0x5146;
  CEdit quickFilter_;
  bool filterShown_ = false;
  bool filterOn_ = false;
  bool wholeKept_ = false;      // wholeLines_ holds the list as of wholeGeneration_
  unsigned wholeGeneration_ = 0;
  StringArray wholeLines_;
  std::vector<size_t> shownLines_;
  // ================= end of quick filter

  // ================= cache (manager_cache.cpp)
 public:
  // "Fetch Cache" (1023): fills the item list from the browser's cache.
  void LoadCacheList();
  // The details box for the chosen line of the cache list.
  void ShowCacheDetails();
  // Button 1021: deletes the cache files of the selected addresses.
  void DeleteSelectedCacheFiles();

 private:
  // ================= end of cache

  // ---- State (Part of the window's data model) ----
  std::string userFolder_;
  std::string tmpFolder_;
  std::string& password_;
  RecordCollections collections_;  // visit, media, block, flash, white, forbidden
  DayFileMerger merger_{collections_};
  StringArray dateKeys_;           // what the date list holds, in the order added
  std::map<int, std::string> chosenDays_;  // by log view: the day the user chose there last
  CConfigDlg settings_;            // holder of KRX.cfg's values
  CFont captionFont_;              // Verdana, bold
  CIcon bigIcon_, smallIcon_;
  int visibility_ = kShown;
  CSkinMenu trayMenu_;
  CLoginDlg loginDlg_;
  bool savedForClose_ = false;
  bool savingForClose_ = false;  // a notice's or wait window's messages must not start a second save

  // ---- Controls ----
  CMacButton hideButton_, minimizeButton_;  // caption; Close is the base's
  NMacBtnGroup viewSelector_;
  NFlash flash_;
  CMacRadioButton radioAll_, radioHistory_, radioCookies_;
  CMacButton helpButton_, aboutButton_, emailButton_, updateButton_, webSiteButton_, configButton_;
  CMacButton findButton_, addWhiteButton_, addForbiddenButton_, deleteButton_, updateItemButton_;
  CMacButton saveFlashButton_, refreshButton_, addNewButton_, deleteCacheButton_, fetchCacheButton_;
  CMacButton visitPlayButton_;
  CSkinListBox dateList_, itemList_;
  CStatic topSeparator_, bottomSeparator_, statusLine_;
  CEdit inputBox_, detailsBox_, cacheValue_;
  CComboBox cacheField_, cacheOperator_;
};

}  // namespace krx
