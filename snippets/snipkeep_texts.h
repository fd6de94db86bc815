// The texts the snippet tool shows, all in the code page. Paths and file
// names inside messages are code-page text already (suite::PathText).
#pragma once

#include <string>

namespace snipkeep {

// The window title before a list is loaded; the single-instance guard looks
// for exactly this text.
inline constexpr const char* kProgramTitle = "Snipkeep  v0.5.2 (2004.11.28 Sunday)";
std::string TitleWithList(const std::string& listName);

// Names beside the program.
inline constexpr const char* kListExtension = ".txt";
inline constexpr const char* kListDirectoryName = "config";
inline constexpr const char* kAutoLoadFileName = "SKAutoLoad.def";
inline constexpr const char* kReadMeFileName = "ReadMe.txt";
std::string DefaultListName();      // "Snipkeep缺省列表文件"
std::string DefaultListFileName();  // the same with ".txt"

// Loading a list.
std::string LoadMissingText(const std::string& path);
std::string LoadOpenFailedText(const std::string& path);
std::string LoadSucceededText(const std::string& path);
// The edit-file button on a missing list.
std::string DefaultListCreatedText(const std::string& path);
std::string DefaultListCreateFailedText(const std::string& path);
// Choosing a list.
std::string ListChosenText(const std::string& fileName);
std::string ChosenListMissingText(const std::string& fileName);
std::string AutoLoadWriteFailedText(const std::string& path);
// Message boxes of the chooser.
std::string DuplicateNameText();
std::string CreateListFailedText(long errorCode);
std::string DeleteQuestionText();
std::string DeleteFailedText(long errorCode);

// The main window's controls.
std::string SingleLineLabel();
std::string MultiLineLabel();
std::string CopyButtonText(int button);  // 1 to 4
std::string FlagLabel(int flag);         // 0 to 4
std::string ChooseButtonText();
std::string EditButtonText();
std::string RefreshButtonText();
std::string OpenDirectoryButtonText();
std::string HelpButtonText();

// The list-file chooser.
std::string ChooserNoteText();
std::string NewListButtonText();
std::string DeleteListButtonText();
std::string CloseChooserButtonText();

// The name dialog; its note breaks its line with "\n".
std::string NameDialogLabel();
std::string NameDialogOkText();
std::string NameDialogCancelText();
std::string NameDialogNoteText();

}  // namespace snipkeep
