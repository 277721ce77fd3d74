#pragma once
// The calendar import's dialog (template 136): while a worker reads the file
// it says so; then it asks whether to import what the file holds; the
// import runs on a worker while a bar shows how far it has come (the dialog,
// the main window and the once-a-second check go on meanwhile); last it
// shows the summary. What it shows at each step comes from ImportSession.
#include <memory>
#include <string>

#include "app/import_session.h"
#include "app/import_work.h"
#include "skin/color_label.h"
#include "skin/skin_button.h"
#include "skin/skin_dialog.h"

class ImportDialog : public CSkinDialog {
 public:
  // `file_name` names the file in the texts (without its folder).
  ImportDialog(std::string file_name, std::unique_ptr<ImportWork> work, HWND parent = nullptr);
  ~ImportDialog() override;

  // After DoModal: the import ran (the folder's files may have changed).
  bool imported() const { return imported_; }

  // Posted by the workers to the dialog.
  static constexpr UINT kPlanned = WM_APP + 20;
  static constexpr UINT kProgress = WM_APP + 21;  // wparam done, lparam total
  static constexpr UINT kApplied = WM_APP + 22;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void DoDataExchange(DataExchange& dx) override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
  void OnAfterPaint(HDC offscreen) override;

 private:
  struct Shared;  // what the dialog and its workers share

  void StartPlan();
  void StartApply();
  // Puts the session's view on the window.
  void Show();
  void ShowTextScrollBarWhenNeeded();

  ImportSession session_;
  std::shared_ptr<Shared> shared_;
  bool imported_ = false;
  CSkinButton ok_, cancel_;
  CColorLabel text_label_;
};
