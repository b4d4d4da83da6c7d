<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>Accessibility</name>
    <message>
        <source>Screenshot from %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshot from %1, %2 × %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ActionGrid</name>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AnalysisCommands</name>
    <message>
        <source>%1: not an image that can be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: not an image that can be read without a display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>text recognition is unavailable (is tesseract-ocr-eng installed?)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AnnotateButton</name>
    <message>
        <source>Annotate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AnnotationEditorWindowController</name>
    <message>
        <source>Annotate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AnnotationTools</name>
    <message>
        <source>Arrow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Circle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Highlight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>Tarnwick v%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Library…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwick</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorFormat</name>
    <message>
        <source>HEX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGBA</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorModeSelector</name>
    <message>
        <source>Color Format</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorPickerView</name>
    <message>
        <source>Color Picker</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorPickerWindowController</name>
    <message>
        <source>Color Picker</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>No Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;code&gt;PrtSc&lt;/code&gt; or &lt;code&gt;Shift PrtSc&lt;/code&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwick v%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CopyButton</name>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceFrame</name>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>iPhone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>iPad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mac</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadButton</name>
    <message>
        <source>Downloading...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditorToolbar</name>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploaded!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imgur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload to Imgur</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ForceUpdateOverlay</name>
    <message>
        <source>Download Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update Required</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version is no longer supported.
Please update to continue using Tarnwick.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HoverPanel</name>
    <message>
        <source>Tarnwick Preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InfoRow</name>
    <message>
        <source>Remove screenshot</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibraryButton</name>
    <message>
        <source>Library</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibraryDetailPane</name>
    <message>
        <source>Select a screenshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove screenshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annotate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pick Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibrarySearchField</name>
    <message>
        <source>Search text in captures</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibraryView</name>
    <message>
        <source>No Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take a screenshot to get started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indexing %1 of %2…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No captures contain “%1”</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibraryWindowController</name>
    <message>
        <source>Library</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NavigationRow</name>
    <message>
        <source>Previous Screenshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Screenshot</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PhoneBadge</name>
    <message>
        <source>iPhone</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Popover</name>
    <message>
        <source>Tarnwick</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QRBadgeButton</name>
    <message>
        <source>QR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 QR</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QRResultsMenu</name>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScreenshotItem</name>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Sync Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Launch at Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Tarnwick automatically when you log in.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Local Copies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep a copy of every screenshot in Tarnwick&apos;s library. Even if the original is deleted from the Desktop, the item stays available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture Phone Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically capture images that arrive from your phone through a shared clipboard.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture Any Copied Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When disabled, only captures images taken with the screenshot tool.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Index Text for Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the text in every capture in the background, so the library finds it by its words.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imgur Client ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploads need a free client ID from Imgur (api.imgur.com).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open System Settings…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle Tarnwick from anywhere with Ctrl+Shift+Space.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+Space could not be set up here. Bind the command &quot;tarnwick --toggle&quot; to a key in your desktop&apos;s keyboard settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyboard Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rescan the screenshot folder and ClipboardShots to update the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove all items. Clipboard captures are also deleted from disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable Save Local Copies?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable and Delete Saved Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 image · %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 images · %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This will permanently delete %1 saved image (%2) from Tarnwick&apos;s library.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This will permanently delete %1 saved images (%2) from Tarnwick&apos;s library.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwick</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindowController</name>
    <message>
        <source>Tarnwick Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShareMenu</name>
    <message>
        <source>Open With…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send by Email…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy File Path</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StyleChoiceButton</name>
    <message>
        <source>Line width %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text size %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbnailView</name>
    <message>
        <source>Pick Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateBanner</name>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update available</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UploadButton</name>
    <message>
        <source>Uploading...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload to Imgur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link Copied!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UserImageFile</name>
    <message>
        <source>not an absolute path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no such file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>too large to open (%1 × %2 pixels)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not an image that can be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be shown: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ViewerHeader</name>
    <message>
        <source>Capturing...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwick</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Show or hide the screenshot popover.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tell Tarnwick that a screenshot is being saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the text recognised in the image FILE, as Copy Text copies it, and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the QR codes and bar codes found in the image FILE, one JSON object per line ({&quot;box&quot;: [x, y, w, h], &quot;format&quot;, &quot;text&quot;}, box relative to the image size, text null when unreadable), and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the captures whose text holds every one of WORDS (each matched as the start of a word), newest first, one JSON object per line ({&quot;path&quot;, &quot;snippet&quot;}), and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WORDS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pick colours from the image FILE.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annotate the image FILE.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the library window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the settings window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keeps every screenshot you take at hand.
--text, --codes and --search work without a display or a running instance.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
