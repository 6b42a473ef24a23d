// Resource identifiers of the Windows editor's executable, shared by the
// resource script and the code that loads them.
#pragma once

// The application icon: the lowest icon id, so Explorer shows it for the file.
#define VANTREL_IDI_APPLICATION 1

// The About dialog's picture (about.bmp, made from app/resources/about.jpg).
#define VANTREL_IDB_ABOUT 2
