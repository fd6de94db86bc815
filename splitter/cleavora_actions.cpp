#include "splitter/cleavora_actions.h"

#include <optional>

#include "splitter/cleavora_texts.h"
#include "splitter/cleavora_window.h"
#include "splitter/piece_size.h"
#include "splitter/split_state.h"

namespace cleavora {

void OnInitDialog(CleavoraWindow& window, SplitState& state) {
  // An installed program puts its pieces into the user's folder: say which.
  if (state.ProgramFolderUnknown()) {
    window.SetStatusText(suite::NoProgramFolderText(state.Place()));
  } else if (!state.BesideProgram()) {
    window.SetStatusText(PiecesPlaceText(state.WorkDirectory()));
  }
  window.ShowForm();
  const int64_t lines = window.LinesPerPiece();
  if (!IsPieceSizeInRange(lines)) return;
  state.SetLastAcceptedPieceSize(lines);
  window.SetTitle(FormatWindowTitle(lines));
}

void OnBtnChooseFile(CleavoraWindow& window, const SplitState& state) {
  window.ReadForm();
  const std::string remembered = window.FilePath();
  FileChooserRequest request;
  request.title = "Open for Viewer";
  request.defaultExtension = "txt";
  request.filters = {{"txt (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}};
  request.startDirectory = state.BaseDirectory();
  request.existingFileOnly = true;
  if (const std::optional<std::string> chosen = window.ChooseFile(request)) {
    window.SetFilePath(*chosen);
    window.ShowForm();
  } else {
    window.SetFilePath(remembered);
  }
  window.FocusPathField(PathSelection::All);
}

void OnBtnStartSplit(CleavoraWindow& window) {
  // What the path field shows is what gets split, typed by hand or not.
  window.ReadPathField();
  window.EnableInput(false);
  window.StartSplitWorker();
}

void OnBtnOpenDirectory(suite::DesktopShell& shell, SplitState& state) { state.OpenLastSplitDirectory(shell); }

void OnBtnApply(CleavoraWindow& window, SplitState& state) {
  window.ReadForm();
  const int64_t lines = window.LinesPerPiece();
  if (IsPieceSizeInRange(lines)) {
    state.SetLastAcceptedPieceSize(lines);
    window.SetTitle(FormatWindowTitle(lines));
    window.SetStatusText(PieceSizeAcceptedText(lines));
  } else {
    window.SetLinesPerPiece(state.LastAcceptedPieceSize());
    window.SetStatusText(PieceSizeRejectedText(state.LastAcceptedPieceSize()));
  }
  window.ShowForm();
}

void OnDropFiles(CleavoraWindow& window, const std::vector<std::string>& paths) {
  if (!window.InputEnabled()) return;
  if (!paths.empty()) window.SetFilePath(paths.front());
  window.FocusPathField(PathSelection::None);
  window.ShowForm();
}

}  // namespace cleavora
