// The settings file a first run writes on an 800 x 600 screen with the
// default colours, line by line; the file itself ends every line with CR LF.
#pragma once

#include <string>

namespace hw::test {

inline constexpr const char kDefaultSettingsLines[] = R"([Main]
Left=50
Top=50
ScrnWidth=800
ScrnHeight=600
AppDir=None
[Preferences]
Left=5
Top=25
BackColor=12632256
TextColor=0
SourceDrive=C:
DestinDrive=D:
PrefFilter=1
SaveLog=1
SaveLogDir=None
DelOldLogs=1
DLogNum=6
DLogPeriod=2
CustColor01=16777215
CustColor02=16777215
CustColor03=16777215
CustColor04=16777215
CustColor05=16777215
CustColor06=16777215
CustColor07=16777215
CustColor08=16777215
CustColor09=16777215
CustColor10=16777215
CustColor11=16777215
CustColor12=16777215
CustColor13=16777215
CustColor14=16777215
CustColor15=16777215
CustColor16=16777215
BootableSysFlt=1
AutoAppendDstDisk=0
UseINIDataExts=0
UseINIApplExts=0
[About]
Left=-25
Top=25
[DriveTimes]
UseDriveA=0
DriveSizeA=0
DrvTotTimeA=0
DrvFilTimeA=0
DrvDelTimeA=0
UseDriveB=0
DriveSizeB=0
DrvTotTimeB=0
DrvFilTimeB=0
DrvDelTimeB=0
UseDriveC=0
DriveSizeC=0
DrvTotTimeC=0
DrvFilTimeC=0
DrvDelTimeC=0
UseDriveD=0
DriveSizeD=0
DrvTotTimeD=0
DrvFilTimeD=0
DrvDelTimeD=0
UseDriveE=0
DriveSizeE=0
DrvTotTimeE=0
DrvFilTimeE=0
DrvDelTimeE=0
[UserDataExts]
Ext000=ASC      ; ASCII file
Ext001=ASM      ; Assembly language file
Ext002=BAK      ; Backup copy of a file
Ext003=BAS      ; BASIC file
Ext004=BAT      ; Batch file
Ext005=BMP      ; Bitmap file
Ext006=C        ; C language file
Ext007=CAL      ; Calendar file
Ext008=CPD      ; Cover page for editor document
Ext009=CPE      ; Cover page for editor document
Ext010=CPP      ; C++ language file
Ext011=CRD      ; Card file
Ext012=CUR      ; Cursor file
Ext013=DAT      ; Data file
Ext014=DBF      ; Database
Ext015=DCX      ; Fax viewer document
Ext016=DEF      ; Compiler definition file
Ext017=DIB      ; Device independent bitmap
Ext018=DLG      ; Dialog template
Ext019=DOC      ; MS WORD
Ext020=DOT      ; MS WORD template
Ext021=ELI      ; Encarta article list
Ext022=FND      ; Saved search
Ext023=FOG      ; Fontographer
Ext024=GIF      ; WinGif graphic
Ext025=GRA      ; Graph
Ext026=H        ; C language header file
Ext027=HPP      ; C++ language header file
Ext028=ICO      ; Icon file
Ext029=IMG      ; Image
Ext030=INC      ; Include file
Ext031=INF      ; Setup information
Ext032=LDB      ; MS Access
Ext033=LIS      ; List file
Ext034=LNK      ; Compiler link file
Ext035=LOG      ; Log file
Ext036=LST      ; List file
Ext037=MAK      ; Compiler make file
Ext038=MCF      ; Text document
Ext039=MDA      ; MS Access
Ext040=MDB      ; MS Access
Ext041=MID      ; MIDI sequence
Ext042=MLI      ; Encarta media list
Ext043=MMM      ; Media clip
Ext044=MNF      ; Saved MSN search
Ext045=MNY      ; MS Money
Ext046=MSG      ; Mail message
Ext047=MSP      ; Paintbrush picture
Ext048=PAS      ; Pascal language file
Ext049=PCX      ; Paintbrush file
Ext050=POT      ; PowerPoint template
Ext051=PPT      ; MS PowerPoint
Ext052=PUB      ; MS Publisher
Ext053=RC       ; Compiler resource file
Ext054=REC      ; Recorder macro
Ext055=REG      ; RegEdit
Ext056=RMI      ; MIDI sequence
Ext057=RTF      ; Rich text format
Ext058=SRC      ; Source
Ext059=TAX      ; TurboTax
Ext060=TRM      ; Terminal
Ext061=TXT      ; Text file
Ext062=VSD      ; VISIO drawing
Ext063=VSI      ; VISIO drawing
Ext064=VSS      ; VISIO drawing
Ext065=VSW      ; VISIO drawing
Ext066=WAV      ; Sound file
Ext067=WDB      ; MS Works database
Ext068=WKS      ; MS Works sheet or chart
Ext069=WPS      ; MS Works word processor
Ext070=WRI      ; Write
Ext071=XLC      ; MS Excel
Ext072=XLS      ; MS Excel
Ext073=ZIP      ; Zip file
[ApplicationExts]
Ext000=ASM      ; Assembly language file
Ext001=BAK      ; Backup copy of a file
Ext002=BMP      ; Bitmap file
Ext003=C        ; C language file
Ext004=CPP      ; C++ language file
Ext005=CUR      ; Cursor file
Ext006=DAT      ; Data file
Ext007=DBF      ; Database
Ext008=DEF      ; Compiler definition file
Ext009=DIB      ; Device independent bitmap
Ext010=DLG      ; Dialog template file
Ext011=DOC      ; MS WORD
Ext012=FOG      ; Fontographer
Ext013=GIF      ; WinGif file
Ext014=GRA      ; Graph
Ext015=H        ; C language header file
Ext016=HPP      ; C++ language header file
Ext017=ICO      ; Icon file
Ext018=IMG      ; Image
Ext019=INC      ; Include file
Ext020=LDB      ; MS Access
Ext021=LIS      ; List file
Ext022=LNK      ; Compiler link file
Ext023=LOG      ; Log file
Ext024=LST      ; List file
Ext025=MAK      ; Compiler make file
Ext026=MDA      ; MS Access
Ext027=MDB      ; MS Access
Ext029=MNY      ; MS Money
Ext030=MSG      ; Mail message
Ext031=MSP      ; Paintbrush picture
Ext032=PAS      ; Pascal language file
Ext033=PCX      ; Paintbrush file
Ext034=PPT      ; MS PowerPoint
Ext035=PUB      ; MS Publisher
Ext036=RC       ; Compiler resource file
Ext037=RTF      ; Rich text format
Ext038=SRC      ; Source file
Ext039=TAX      ; TurboTax
Ext040=TXT      ; Text file
Ext041=VSD      ; VISIO drawing
Ext042=WAV      ; Sound file
Ext043=WDB      ; MS Works database
Ext044=WKS      ; MS Works sheet or chart
Ext045=WPS      ; MS Works word processor
Ext046=WRI      ; Write file
Ext047=XLC      ; MS Excel
Ext048=XLS      ; MS Excel
Ext049=ZIP      ; Zip file
)";

// The exact bytes of the file: every line ended by CR LF.
inline std::string defaultSettingsFile() {
  std::string bytes;
  for (const char* p = kDefaultSettingsLines; *p; ++p) {
    if (*p == '\n') bytes += '\r';
    bytes += *p;
  }
  return bytes;
}

}  // namespace hw::test
