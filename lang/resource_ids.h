// Resource numbers of the language modules (cnctl<code>.dll).
//
// The one list of every string, dialog, control, menu command, icon and bitmap that the
// programs load from a language module by number. The .rc files of every language and the
// programs include it, and the module check of the build (tools/lang/check-modules.py)
// proves that each built module carries every resource named here.
//
// Plain #defines only: the resource compiler reads this file too. Names follow one rule, on
// which the module check relies:
//   IDS_*            string
//   IDD_<DIALOG>     dialog template; IDC_<DIALOG>_* is a control of that template
//   IDR_*            menu;  IDM_<MENU>_* a command of it, <MENU>_POS_* a position in it
//   IDI_*            icon;  IDB_* bitmap
#ifndef TUNARA_LANG_RESOURCE_IDS_H
#define TUNARA_LANG_RESOURCE_IDS_H

// ---- Strings ------------------------------------------------------------------------------

#define IDS_TRAY_OFF_DONE 1              // the taskbar icon has been switched off
#define IDS_TRAY_OFF_QUESTION 2          // switch the taskbar icon off?
#define IDS_RESTART_QUESTION 3           // restart Windows now?
#define IDS_TRAY_OFF_QUESTION_CAPTION 4  // caption of IDS_TRAY_OFF_QUESTION
#define IDS_TRAY_OFF_DONE_CAPTION 5      // caption of IDS_TRAY_OFF_DONE
#define IDS_PRODUCT_TITLE 6              // sheet caption, message box caption, shortcut name, tip
#define IDS_DOS_REMOVE_CAPTION 15        // native DOS support prompt, removal mode, and its summary
#define IDS_DOS_INSTALL_CAPTION 16       // summary after native DOS support was added
#define IDS_MIDI_BUSY 18                 // sample set cannot change while MIDI plays
#define IDS_LEGACY_NO_GAME_SUPPORT 1094  // legacy page text when DOS game support is off

// Support information: row labels (2500-2506), values per region (25x0 = Americas,
// 25x1 = rest of the world, 25x2 = German-speaking countries) and the region names.
#define IDS_SUPPORT_LABEL_WEB 2500
#define IDS_SUPPORT_LABEL_ADDRESS 2501
#define IDS_SUPPORT_LABEL_EMAIL 2502
#define IDS_SUPPORT_LABEL_PHONE 2503
#define IDS_SUPPORT_LABEL_ONLINE 2504
#define IDS_SUPPORT_LABEL_FAX 2505
#define IDS_SUPPORT_LABEL_BBS 2506
#define IDS_DOS_REMOVE_PROMPT 2507  // message of the native DOS support prompt, removal mode
#define IDS_SUPPORT_WEB_AMERICAS 2530
#define IDS_SUPPORT_WEB_WORLD 2531
#define IDS_SUPPORT_WEB_GERMANY 2532
#define IDS_SUPPORT_EMAIL_AMERICAS 2550
#define IDS_SUPPORT_EMAIL_WORLD 2551
#define IDS_SUPPORT_EMAIL_GERMANY 2552
#define IDS_SUPPORT_PHONE_AMERICAS 2560
#define IDS_SUPPORT_PHONE_WORLD 2561
#define IDS_SUPPORT_PHONE_GERMANY 2562
#define IDS_SUPPORT_BBS_GERMANY 2571
#define IDS_SUPPORT_FAX_AMERICAS 2580
#define IDS_SUPPORT_FAX_WORLD 2581
#define IDS_SUPPORT_FAX_GERMANY 2582
#define IDS_SUPPORT_REGION_AMERICAS 2600
#define IDS_SUPPORT_REGION_WORLD 2601
#define IDS_SUPPORT_REGION_GERMANY 2602

#define IDS_BUTTON_OK 2619
#define IDS_BUTTON_CANCEL 2620
#define IDS_BUTTON_HELP 2621
#define IDS_ADVRES_CAPTION 2622  // caption of the advanced resources sheet
#define IDS_BUTTON_CLOSE 2623
// The summary after a DOS start-up file edit, one line per file:
// FILE + path + " " + BACKUP + backup path + " " + END
#define IDS_DOS_SUMMARY_FILE 2624
#define IDS_DOS_SUMMARY_BACKUP 2625
#define IDS_DOS_SUMMARY_END 2626

// ---- Settings page (property page) --------------------------------------------------------

#define IDD_SETTINGS 132
#define IDC_SETTINGS_INTRO 132        // the page's introduction (help context of the page)
#define IDC_SETTINGS_PICTURE 1000     // picture button: speakers or headphones, click toggles
#define IDC_SETTINGS_TRAY_ICON 1014   // check box: show the taskbar icon
#define IDC_SETTINGS_HEADPHONES 1015  // radio button
#define IDC_SETTINGS_SPEAKERS 1016    // radio button
#define IDC_SETTINGS_SUPPORT 1056     // push button: support information dialog
#define IDC_SETTINGS_ADVANCED 1057    // push button: advanced settings dialog

// ---- Legacy and DOS page (property page) --------------------------------------------------

#define IDD_LEGACY 160
#define IDC_LEGACY_IRQ_LABEL 1037
#define IDC_LEGACY_TEXT 1038  // introduction, or the game-support-off text (IDS_LEGACY_NO_GAME_SUPPORT)
#define IDC_LEGACY_DEVICE 1041
#define IDC_LEGACY_IRQ 1042
#define IDC_LEGACY_IO 1043
#define IDC_LEGACY_DMA 1044
#define IDC_LEGACY_IO_LABEL 1047
#define IDC_LEGACY_DMA_LABEL 1048
#define IDC_LEGACY_RESOURCES 1019     // push button: advanced resources sheet
#define IDC_LEGACY_IRQ_CONFLICT 1063  // conflict marks, hidden until a value reads "Resource conflict"
#define IDC_LEGACY_IO_CONFLICT 1064
#define IDC_LEGACY_DMA_CONFLICT 1065

// ---- Advanced resources sheet, first page: DOS games/FM, MPU-401, joystick ---------------

#define IDD_ADVRES1 161
#define IDC_ADVRES1_MPU_HEADING 1036
#define IDC_ADVRES1_FM_HEADING 1046
#define IDC_ADVRES1_FM_IO_LABEL 1037
#define IDC_ADVRES1_MPU_IO_LABEL 1038
#define IDC_ADVRES1_JOY_IO_LABEL 1041
#define IDC_ADVRES1_FM_DMA_LABEL 1042
#define IDC_ADVRES1_FM_IRQ_LABEL 1044
#define IDC_ADVRES1_FM_IO 1051   // slot 1
#define IDC_ADVRES1_FM_IRQ 1052  // slot 4
#define IDC_ADVRES1_FM_DMA 1053  // slot 3
#define IDC_ADVRES1_MPU_IO 1054  // slot 6
#define IDC_ADVRES1_JOY_IO 1055  // slot 7 (or 0)
#define IDC_ADVRES1_FM_IO_CONFLICT 1063
#define IDC_ADVRES1_FM_DMA_CONFLICT 1064
#define IDC_ADVRES1_FM_IRQ_CONFLICT 1065
#define IDC_ADVRES1_MPU_IO_CONFLICT 1066
#define IDC_ADVRES1_JOY_IO_CONFLICT 1067
#define IDC_ADVRES1_SUPPORT 1056

// ---- Advanced resources sheet, second page: FM further range, enumerator, wave devices ----

#define IDD_ADVRES2 162
#define IDC_ADVRES2_WAVE_HEADING 1035
#define IDC_ADVRES2_ENUM_HEADING 1036
#define IDC_ADVRES2_FM_HEADING 1046
#define IDC_ADVRES2_ENUM_IRQ_LABEL 1037
#define IDC_ADVRES2_SYNTH_IRQ_LABEL 1038
#define IDC_ADVRES2_FM_IO_LABEL 1041
#define IDC_ADVRES2_WAVE_IRQ_LABEL 1042
#define IDC_ADVRES2_WAVE_IO_LABEL 1044
#define IDC_ADVRES2_FM_IO 1051      // slot 2
#define IDC_ADVRES2_WAVE_IRQ 1052   // slot 4
#define IDC_ADVRES2_WAVE_IO 1053    // slot 5
#define IDC_ADVRES2_ENUM_IRQ 1054   // slot 8
#define IDC_ADVRES2_SYNTH_IRQ 1055  // slot 9
#define IDC_ADVRES2_FM_IO_CONFLICT 1063
#define IDC_ADVRES2_WAVE_IO_CONFLICT 1064
#define IDC_ADVRES2_WAVE_IRQ_CONFLICT 1065
#define IDC_ADVRES2_ENUM_IRQ_CONFLICT 1066
#define IDC_ADVRES2_SYNTH_IRQ_CONFLICT 1067
#define IDC_ADVRES2_SUPPORT 1056

// ---- Advanced settings dialog -------------------------------------------------------------

#define IDD_ADVANCED 174
#define IDC_ADVANCED_OK 1
#define IDC_ADVANCED_CANCEL 2
#define IDC_ADVANCED_HELP 3
#define IDC_ADVANCED_HW_ACCELERATION 1002
#define IDC_ADVANCED_MIC_BOOST 1017
#define IDC_ADVANCED_JOYSTICK 1018
#define IDC_ADVANCED_GAME_SUPPORT 1019
#define IDC_ADVANCED_NATIVE_DOS 1020
#define IDC_ADVANCED_WAVETABLE_NONE 1024
#define IDC_ADVANCED_WAVETABLE_2MB 1025
#define IDC_ADVANCED_WAVETABLE_4MB 1026
#define IDC_ADVANCED_WAVETABLE_GROUP 1059
#define IDC_ADVANCED_DOS_GROUP 1060  // hidden on the Maestro-2E, with game support

// ---- Support information dialog -----------------------------------------------------------

#define IDD_SUPPORT 180
#define IDC_SUPPORT_OK 1
#define IDC_SUPPORT_LIST 1003     // list view, report style: method, details
#define IDC_SUPPORT_REGION 1057   // drop-down list of the three regions
#define IDC_SUPPORT_VERSION 1068  // its text is followed by the program's version
#define IDC_SUPPORT_HELP 1080

// ---- Native DOS support prompt ------------------------------------------------------------

#define IDD_DOSPROMPT 185
#define IDC_DOSPROMPT_OK 1
#define IDC_DOSPROMPT_CANCEL 2
#define IDC_DOSPROMPT_REMOVE 1014     // check button C, removal mode only
#define IDC_DOSPROMPT_MESSAGE 1069
#define IDC_DOSPROMPT_ADD 1074        // check button A
#define IDC_DOSPROMPT_LINE_FILES 1075 // check button B, installation mode only
#define IDC_DOSPROMPT_LINE_FILE0 1076
#define IDC_DOSPROMPT_LINE_FILE1 1077
#define IDC_DOSPROMPT_LINE_FILE2 1078
#define IDC_DOSPROMPT_FILE0 1080      // autoexec.bat
#define IDC_DOSPROMPT_FILE1 1081      // config.sys
#define IDC_DOSPROMPT_FILE2 1082      // dosstart.bat

// ---- Tray menu ----------------------------------------------------------------------------

// The popup is the first submenu of the menu resource; positions count within it.
#define IDR_TRAY 190
#define TRAY_POS_PROPERTIES 0
#define TRAY_POS_OUTPUT 2
#define TRAY_POS_HW_ACCELERATION 3
#define TRAY_POS_MIC_BOOST 4
#define TRAY_POS_WAVETABLE 5
#define TRAY_POS_EXIT 7
#define IDM_TRAY_PROPERTIES 2604
#define IDM_TRAY_SPEAKERS 2610       // output submenu, item 0
#define IDM_TRAY_HEADPHONES 2611     // output submenu, item 1
#define IDM_TRAY_EXIT 2612
#define IDM_TRAY_HW_ACCELERATION 2613
#define IDM_TRAY_MIC_BOOST 2614
#define IDM_TRAY_WAVETABLE_NONE 2615  // wavetable submenu, items 0 to 2
#define IDM_TRAY_WAVETABLE_2MB 2616
#define IDM_TRAY_WAVETABLE_4MB 2617

// ---- Icons and bitmaps --------------------------------------------------------------------

#define IDB_HEADPHONES 129
#define IDB_SPEAKERS 130
#define IDI_PRODUCT 184   // the sheet's icon
#define IDI_CONFLICT 187  // the conflict mark of the resource pages (16 x 16)
#define IDI_TRAY 188      // the notification-area icon

#endif  // TUNARA_LANG_RESOURCE_IDS_H
