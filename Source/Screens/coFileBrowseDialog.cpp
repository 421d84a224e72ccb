#include "Source/Screens/coFileBrowseDialog.h"

#include "Source/Screens/coScreenScript.h"

coFileBrowseDialog::coFileBrowseDialog() {
    coLoadScreenScript("uibd", "uibd.tsf", this);
    SetKeysEnabled(false);
    SetVisible(false);
    SetEnabled(false);
}
