#pragma once

namespace quillon {

class AccessibilityPermission;
class AwakeFeature;
class BreaksFeature;
class ClipboardFeature;
class FocusFeature;
class JumpFeature;
class NotchFeature;
class OCRFeature;
class Settings;
class ShelfFeature;
class SnapFeature;
class SnippetsFeature;

/// What the settings window may reach of the application: the store, the
/// permission and the features its panes configure.
struct AppFeatures {
    Settings& settings;
    AccessibilityPermission& permission;
    SnapFeature& snap;
    JumpFeature& jump;
    FocusFeature& focus;
    SnippetsFeature& snippets;
    ClipboardFeature& clipboard;
    ShelfFeature& shelf;
    NotchFeature& notch;
    AwakeFeature& awake;
    BreaksFeature& breaks;
    OCRFeature& ocr;
};

} // namespace quillon
