// Resource identifiers of the player wizard, shared by its dialog template and its binding.
#pragma once

#define IDD_PLAYERWIZARD 3000
#define IDD_ICONPREVIEW 3001
#define IDR_WIZARD_BANNER 3002

#define IDC_WIZARD_BANNER 3010
#define IDC_ICONPREVIEW 3011

// Fixed texts of page n: 3100 + 20 * n and up; the test area's "Browse:" and row labels: 3240 and up.
#define IDC_PAGETEXT 3100
#define IDC_PAGETEXT_PER_PAGE 20

// Page 0
#define IDC_edPlayerName 3300
#define IDC_ImgIcon 3301
#define IDC_Button1 3302
#define IDC_LblIcon 3303
#define IDC_btPlayer 3304
// Pages 1 to 5
#define IDC_edSingleFileFlag 3310
#define IDC_edPlaylistFlag 3311
#define IDC_edSubtitleFlag 3312
#define IDC_RdPlaylistYes 3320
#define IDC_RdPlaylistNo 3321
#define IDC_cboPlaylist 3322
#define IDC_RdSubsSupportYes 3323
#define IDC_RdSubsSupportNo 3324
// Page 6
#define IDC_LblFinalPlayerName 3330
#define IDC_ImgFinalIcon 3331
#define IDC_LblPlaylistExt 3332
#define IDC_LblFinalCmd1 3333
#define IDC_LblFinalCmd2 3334
#define IDC_LblFinalCmd3 3335
// The test bar and the button bar (Cancel is IDCANCEL, Next is IDOK)
#define IDC_lblWarning 3340
#define IDC_TestIcon 3341
#define IDC_btTest 3342
#define IDC_btBack 3343
#define IDC_ButtonBarLine 3344
// The test area
#define IDC_PanelCmd 3350
#define IDC_CmdIcon 3351
#define IDC_LblCmd 3352
#define IDC_btExecute 3353
#define IDC_BrowseText 3354
#define IDC_FileText 3355
#define IDC_PlaylistText 3356
#define IDC_File2Text 3357
#define IDC_SubtitleText 3358
#define IDC_btOpenFile 3360
#define IDC_btPlaylist 3361
#define IDC_btFile2 3362
#define IDC_btSubtitle 3363

// Dialog units of the window's client area: closed, and with the test area open.
#define WIZARD_CLIENT_WIDTH 276
#define WIZARD_CLIENT_HEIGHT 186
#define WIZARD_TEST_CLIENT_HEIGHT 250
