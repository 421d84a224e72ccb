#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/GUI/Gui/guiDialog.h"

#include <vector>

class guiButton;
class guiEditField;
class guiListBox;
class xuiScrollBox;

// The modal picker of a file on the disc: a list of the drives, or of the folders and matching files of
// the current folder, an "Up Arrow" to the parent folder and a field showing the current folder.
// Double-clicking a folder enters it; double-clicking a file, or Ok, ends the run. Ok is enabled only
// while a file is selected.
class xuiFileBrowseDialog : public guiDialog {
  public:
    xuiFileBrowseDialog();

    // Name patterns separated by ';', each matched as a part of the name, case-sensitively. A file
    // matching two patterns is listed twice.
    void SetFilter(const envString& filter) { m_filter = filter; }
    // Where the next run begins.
    void SetDirectory(const fsLocator& directory) { m_startDirectory = directory; }
    // The current folder while nothing is selected.
    const fsLocator& GetSelectedPath() const { return m_selectedPath; }

    guiListBox* GetFileSelector() const { return m_fileSelector; }
    xuiScrollBox* GetFileSelectorScrollBox() const { return m_scrollBox; }
    guiButton* GetUpArrow() const { return m_upArrow; }
    guiEditField* GetSelectionDisplay() const { return m_display; }

    // Lists the start folder, then runs as any dialog; after 1 the selected path is the chosen file.
    i32 DoModal() override;
    void Think() override;
    // Lists the current folder again.
    void ListDirectory();

  private:
    void SelectionChanged();
    void Enter(const fsLocator& directory);
    bool IsSelectionDoubleClicked() const;

    guiListBox* m_fileSelector = nullptr;
    xuiScrollBox* m_scrollBox = nullptr;
    guiButton* m_upArrow = nullptr;
    guiEditField* m_display = nullptr;
    envString m_filter;
    fsLocator m_startDirectory;
    fsLocator m_currentDirectory;
    fsLocator m_selectedPath;
    i32 m_lastSelection = -1;
    // What each row names, row by row: a drive, a folder or a file.
    std::vector<fsLocator> m_entries;
};
