// The resource id of the manifest the dialogs activate (shared by the .rc and the code).
#pragma once
#define THEMED_CONTROLS_MANIFEST_ID 201
