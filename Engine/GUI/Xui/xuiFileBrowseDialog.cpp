#include "Engine/GUI/Xui/xuiFileBrowseDialog.h"

#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"

#include <algorithm>

namespace {

constexpr float kPartDepth = 0.99f;

// The parts of the filter between its ';'; empty parts name no pattern.
std::vector<envString> SplitFilter(const envString& filter) {
    std::vector<envString> patterns;
    const u32 length = filter.GetLength();
    u32 start = 0;
    for (u32 i = 0; i <= length; ++i) {
        if (i < length && filter.GetData()[i] != u';')
            continue;
        if (i > start)
            patterns.emplace_back(start, i - start, filter);
        start = i + 1;
    }
    return patterns;
}

// A drive's row shows its path ("/"); any other entry its name.
envString RowText(const fsLocator& entry, bool drive) {
    if (!drive)
        return entry.GetLastComponent();
    envString path;
    fsLocatorToPath(entry, path);
    return path;
}

} // namespace

xuiFileBrowseDialog::xuiFileBrowseDialog() {
    // In front of the dialog's background, as its buttons are.
    const auto part = [this](auto window, const char* name) {
        window->SetName(name);
        window->SetPosition({0.0f, 0.0f, kPartDepth});
        return AddChild(std::move(window));
    };
    m_upArrow = part(std::make_unique<guiButton>(), "Up Arrow");
    m_display = part(std::make_unique<guiEditField>(), "Selection Display");
    m_scrollBox = part(std::make_unique<xuiScrollBox>(), "File Selector ScrollBox");
    m_fileSelector = m_scrollBox->SetView(std::make_unique<guiListBox>());
    m_fileSelector->SetName("File Selector");
}

i32 xuiFileBrowseDialog::DoModal() {
    m_currentDirectory = m_startDirectory;
    ListDirectory();
    return guiDialog::DoModal();
}

void xuiFileBrowseDialog::ListDirectory() {
    const bool top = m_currentDirectory.GetComponentCount() == 0;
    std::vector<fsLocator> directories;
    std::vector<fsLocator> files;
    if (top) {
        fsListDrives(directories);
    } else {
        fsFileEnum::ListDirectories(m_currentDirectory, directories);
        for (const envString& pattern : SplitFilter(m_filter)) {
            std::vector<fsLocator> matching;
            fsFileEnum::ListFiles(m_currentDirectory, matching, &pattern);
            files.insert(files.end(), matching.begin(), matching.end());
        }
    }
    for (const char* name : {".", ".."}) {
        fsLocator self = m_currentDirectory;
        self.AppendComponent(name);
        std::erase(directories, self);
    }
    m_fileSelector->RemoveAllRows();
    m_entries.clear();
    for (const fsLocator& directory : directories) {
        m_fileSelector->AppendRow(RowText(directory, top));
        m_entries.push_back(directory);
    }
    for (const fsLocator& file : files) {
        m_fileSelector->AppendRow(file.GetLastComponent());
        m_entries.push_back(file);
    }
    SelectionChanged();
}

void xuiFileBrowseDialog::SelectionChanged() {
    m_lastSelection = m_fileSelector->GetSelection();
    // Without a selection the path stays the folder itself, which no Ok can take.
    const bool selected = m_lastSelection >= 0 && m_lastSelection < static_cast<i32>(m_entries.size());
    m_selectedPath = selected ? m_entries[static_cast<size_t>(m_lastSelection)] : m_currentDirectory;
    GetOk()->SetEnabled(selected && fsFileExists(m_selectedPath));
    envString path;
    fsLocatorToPath(m_currentDirectory, path);
    m_display->SetText(path);
    // Home, then End: the field scrolls from the path's start just far enough that its end, the listed
    // folder's own name, is in view.
    m_display->SetCaretIndex(0);
    m_display->SetCaretIndex(static_cast<i32>(path.GetLength()));
}

void xuiFileBrowseDialog::Enter(const fsLocator& directory) {
    m_currentDirectory = directory;
    ListDirectory();
}

// Both clicks on the selected row: the first click on a row not yet selected brings the highlight over
// it, so the second lands on the highlight.
bool xuiFileBrowseDialog::IsSelectionDoubleClicked() const {
    guiWindow *first = nullptr, *second = nullptr;
    if (!guiMouseButtons::GetClickPair(guiMouseButtons::kMain, first, second))
        return false;
    const guiWindow* row = m_fileSelector->GetRow(m_fileSelector->GetSelection());
    const auto onSelection = [&](const guiWindow* clicked) {
        for (const guiWindow* part : {row, static_cast<const guiWindow*>(m_fileSelector->GetHighlight())})
            if (part && (clicked == part || clicked->IsDescendantOf(part)))
                return true;
        return false;
    };
    return onSelection(first) && onSelection(second);
}

void xuiFileBrowseDialog::Think() {
    m_upArrow->SetEnabled(m_currentDirectory.GetComponentCount() > 0);
    guiContainer::Think();
    if (m_upArrow->GetState() == guiStateReleased) {
        fsLocator parent = m_currentDirectory;
        parent.RemoveLastComponent();
        Enter(parent);
        return;
    }
    if (m_fileSelector->GetSelection() != m_lastSelection) {
        SelectionChanged();
        return;
    }
    if (!IsSelectionDoubleClicked())
        return;
    if (GetOk()->IsEnabled()) {
        EndDialog(true);
        return;
    }
    guiMouseButtons::ResetDoubleClick(guiMouseButtons::kMain);
    if (m_lastSelection >= 0)
        Enter(m_selectedPath);
}
