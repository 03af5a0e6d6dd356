#pragma once
#include <array>
#include <string>
#include <vector>

namespace vem {

struct SlotMessage;

// The value of a placeholder: plain text (a number, a file's name), or messages said in the
// reader's language, one after another with ", " between them.
struct MessageValue {
    MessageValue(std::string text);
    MessageValue(const char* text);
    MessageValue(SlotMessage message);
    MessageValue(std::vector<SlotMessage> messages);
    std::string text;
    std::vector<SlotMessage> messages;
    bool operator==(const MessageValue&) const;
};

// A slot and the values of its placeholders, for a message whose values are known only when
// it is said.
struct SlotMessage {
    int slot = -1;
    std::vector<MessageValue> values;
    bool operator==(const SlotMessage&) const;
};

// The main window's numbered message texts (Windows-1252). Slots 0..25 are empty until the
// language file fills them; slots from 26 on carry a built-in German text that the language
// file may replace with further lines of its message section.
class MessageTable {
public:
    static constexpr int ClassicSlotCount = 26;

    MessageTable();
    // The slot's text, its placeholders filled with the slot's values.
    const std::string& text(int slot) const;
    void setText(int slot, std::string text);
    // The values of the slot's placeholders %1, %2, ...: kept when a language file replaces the text.
    void setValues(int slot, std::vector<MessageValue> values);
    // The text of `message`'s slot with `message`'s values in its placeholders.
    std::string text(const SlotMessage& message) const;
    // Each message's text, in order.
    std::vector<std::string> texts(const std::vector<SlotMessage>& messages) const;
    int slotCount() const { return static_cast<int>(texts_.size()); }

private:
    void fill(int slot);
    std::vector<std::string> valueTexts(const std::vector<MessageValue>& values) const;

    std::vector<std::string> texts_;   // as the language file gives them
    std::vector<std::string> shown_;   // filled
    std::vector<std::vector<MessageValue>> values_;
};

// `text` with each %1..%9 replaced by values[0..8], in one pass: a value is never searched for
// placeholders itself. A placeholder without a value stays.
std::string fillPlaceholders(const std::string& text, const std::vector<std::string>& values);

// Message slots with a fixed role.
namespace Msg {
constexpr int PortOpenAfterSettings = 0;
constexpr int ImageWrongSize = 1;
constexpr int ProjectCaptionPrefix = 2;
constexpr int BinFileWrongSize = 3;
constexpr int ProgramCaption = 5;
constexpr int NoImageTemplate = 6;
constexpr int ProgramBlockCaption = 7;
constexpr int ProgramRefused = 8;
constexpr int ReadBackBlockCaption = 9;
constexpr int FontBlockCaption = 10;
constexpr int FirmwareBlockCaption = 11;
constexpr int ReplyTimeOut = 12;  // %1 the reply time-out in seconds
constexpr int FieldHintPrefix = 13;
constexpr int DateHint = 14;
constexpr int TimeHint = 15;
constexpr int ReadBackCaption = 18;
constexpr int FontCaption = 21;
constexpr int FirmwareCaption = 24;
// Slots added by this program (built-in texts).
constexpr int ProjectSaveFailed = 26;
constexpr int ReadoutSaveFailed = 27;
constexpr int ProjectOpenFailed = 28;
constexpr int CommaCellsReplaced = 29;
constexpr int HoldTimeOutOfRange = 30;
constexpr int PortCannotOpen = 31;
constexpr int PortAbsent = 32;
constexpr int PortBusy = 33;
constexpr int PortNoPermission = 34;
constexpr int PortUnsupportedSetting = 35;
constexpr int DeviceGone = 36;
constexpr int StepDetail = 37;  // %1 port, %2 operation, %3 step, %4 steps
constexpr int OperationProgram = 38;
constexpr int OperationReadBack = 39;
constexpr int OperationReadInfo = 40;
constexpr int OperationSetClock = 41;
constexpr int OperationFont = 42;
constexpr int OperationFirmware = 43;
constexpr int OperationVideo = 44;
constexpr int OperationFuses = 45;
constexpr int UploadIncomplete = 46;
constexpr int FontFileWrongSize = 47;
constexpr int FirmwareFileWrongSize = 48;
constexpr int UnsavedChanges = 49;  // save, discard or cancel?
constexpr int AnswerSave = 50;
constexpr int AnswerDiscard = 51;
constexpr int AnswerCancel = 52;
constexpr int VerifyFailed = 53;
constexpr int VerifyDetail = 54;  // %1 area, %2 offset, %3 expected byte, %4 found byte
constexpr int PortNotSerial = 55;
// The PC port dialog: its captions, then its notes.
constexpr int PortDialogCaption = 56;
constexpr int PortDialogPort = 57;
constexpr int PortDialogFormat = 58;
constexpr int PortDialogBaudrate = 59;
constexpr int PortDialogDatabits = 60;
constexpr int PortDialogParity = 61;
constexpr int PortDialogStopbits = 62;
constexpr int PortDialogHandshake = 63;
constexpr int PortDialogRtsCts = 64;
constexpr int PortDialogDtrDsr = 65;
constexpr int PortDialogXOnXOff = 66;
constexpr int PortDialogBuffers = 67;
constexpr int PortDialogReceive = 68;
constexpr int PortDialogTransmit = 69;
constexpr int PortDialogCancel = 70;
constexpr int PortDialogOk = 71;
constexpr int PortNoteAbsent = 72;  // %1 the path
constexpr int PortNoteNoDevice = 73;  // %1 the path
constexpr int PortNoteNotSerial = 74;  // %1 the path
constexpr int PortNoteChoose = 75;
constexpr int PortNoteRemoved = 76;  // %1 the path
constexpr int PortNoteNoPorts = 77;
constexpr int PortNoteRefused = 78;  // %1 the setting
constexpr int ReadBackUnmarked = 79;  // take it anyway?
constexpr int AnswerTake = 80;
constexpr int ReplyExtraBytes = 81;       // a data reply longer than its block
constexpr int DeviceHoldsNoProject = 82;  // the device information lacks the mark
constexpr int ProgramIncomplete = 83;
constexpr int Interrupted = 84;
constexpr int NotAProject = 85;          // the file and its first problems under it
constexpr int OpenDespiteProblems = 86;  // open anyway? the problems under it
constexpr int AnswerOpen = 87;
constexpr int TemplateUnreadable = 88;   // the image file and what it is under it
constexpr int TemplateNotLoaded = 89;    // programming refused; the image file under it
constexpr int ReplaceFile = 90;          // replace? the file under it
constexpr int AnswerReplace = 91;
// Why a save failed: the reason after the file's name.
constexpr int SaveReasonDiskFull = 92;
constexpr int SaveReasonNoPermission = 93;
constexpr int SaveReasonFolder = 94;
constexpr int SaveReasonNameTooLong = 95;
constexpr int SaveReasonBusy = 96;
constexpr int SaveReasonReadOnly = 97;
constexpr int SaveReasonNotRegular = 98;
constexpr int SaveReasonNoFolder = 99;
constexpr int SaveReasonLinkLoop = 100;
constexpr int SaveReasonReadOnlySystem = 101;
constexpr int SaveReasonOther = 102;
constexpr int ReplaceReadOnly = 103;  // replace anyway? the file under it
// The editor's menu items and what the list of recent projects says.
constexpr int SaveItem = 104;
constexpr int EditMenu = 105;
constexpr int UndoItem = 106;
constexpr int RedoItem = 107;
constexpr int RecentProjectGone = 108;  // the project's path under it
// A value a dialog changed to its limit: %1 the limit.
constexpr int FieldLengthAtMost = 109;
constexpr int FieldRoomAtMost = 110;  // the cells after the field's place are taken or the screen ends
constexpr int MaxSpacesAtMost = 111;
// How a device operation ended well, in the main window's status bar.
constexpr int ProgrammedAndVerified = 112;
constexpr int ReadBackDone = 113;
constexpr int ClockSet = 114;
constexpr int FontLoaded = 115;
constexpr int FirmwareLoaded = 116;
constexpr int VideoSignalSent = 117;
constexpr int FusesSent = 118;
// The read-back after programming, as a failure's step detail names it.
constexpr int OperationVerify = 119;
// Not a text: the language of the file ("de", "en"), whose translations the standard dialogs take.
constexpr int LanguageCode = 120;
constexpr int Untitled = 121;  // the name of a project that has no file of its own
constexpr int ProgramRefusedProblems = 122;  // programming refused; the problems under it
constexpr int DeviceInfoNoProject = 123;  // the information window's project name for a header without the mark
// Saves that would write through another's link or over a file a project reads, output that
// could not be written, and interruptions.
constexpr int SaveReasonForeignLink = 124;
constexpr int SaveReasonKeptFile = 125;
constexpr int SaveReasonNameNotFound = 126;  // line 1 would not find the file written
constexpr int OutputNotWritten = 127;        // %1 what the system says
// Where a command-line run was interrupted: %1 the step, %2 the steps.
constexpr int InterruptedAtStep = 128;
constexpr int InterruptedBetweenOperations = 129;
constexpr int InterruptedAfterCompletion = 130;
// What is wrong with a file: %1 the file's name.
constexpr int FileMissing = 131;
constexpr int FileIsFolder = 132;
constexpr int FileIsFifo = 133;
constexpr int FileNotRegular = 134;
constexpr int FileTooLarge = 135;   // %2 the most bytes read
constexpr int FileWrongSize = 136;  // %2 its bytes, %3 the bytes expected
constexpr int FileUnreadable = 137;
// Why a file is no project: %1 what is wrong with the file (a File... message above).
constexpr int ProjectFileFault = 138;
constexpr int TemplateFault = 139;
constexpr int ProjectLineCount = 140;  // %1 its lines, %2 the lines expected
constexpr int ProjectBinary = 141;     // %1 the line of the first zero byte
constexpr int NoTemplateName = 142;
constexpr int TemplateNameControls = 143;
// A check's problem: %1 what it concerns (a Name... message below).
constexpr int ProblemBeyondByte = 144;     // %2 the value, %3 the byte the device gets
constexpr int ProblemOutsideRange = 145;   // %2 the value, %3..%4 the range
constexpr int ProblemNotZeroOrOne = 146;   // %2 the value
constexpr int ProblemLengthNotText = 147;  // %2 the length, %3 the text's characters
constexpr int ProblemTextTooLong = 148;    // %2 the text's characters, %3 the most that fit
constexpr int ProblemPosLinesBeyond = 149; // %1 the first line, %2 the line count
// What a check's problem concerns.
constexpr int NameSummerTime = 150;
constexpr int NameDataHoldTime = 151;
constexpr int NameRelayHoldTime = 152;
constexpr int NameHandshake = 153;
constexpr int NameDataFormat = 154;
constexpr int NameBaudRate = 155;
constexpr int NameIpOctet = 156;  // %1 the octet's number
constexpr int NameIpPort = 157;
constexpr int NameForwarding = 158;
constexpr int NameForwardBaud = 159;
constexpr int NameForwardPrefix = 160;
constexpr int NameForwardSuffix = 161;
constexpr int NamePosRegister = 162;
constexpr int NamePosFirstLine = 163;
constexpr int NamePosLineCount = 164;
constexpr int NamePosScroll = 165;
constexpr int NamePosBackground = 166;
constexpr int NamePosTransparency = 167;
constexpr int NamePosTextColour = 168;
constexpr int NameLimitTo40 = 169;
constexpr int NameShowHeader = 170;
constexpr int NameSkipMode = 171;
constexpr int NameStartDefinition = 172;
constexpr int NameEndDefinition = 173;
constexpr int NameKeyword = 174;        // %1 the keyword's number
constexpr int NameKeywordAction = 175;  // %1 the keyword's number
constexpr int NameMostSpaces = 176;
constexpr int NameField = 177;  // %1 the field's number
constexpr int NameDate = 178;
constexpr int NameTime = 179;
// The layout's problems; a cell is named by its row and column, a field by a Name... message.
constexpr int InDataSet = 180;                 // %1 the data set, %2 the problem
constexpr int CellCannotShow = 181;            // %1 row, %2 column, %3 the character's code
constexpr int FieldLengthOutside = 182;        // %1 field, %2 length
constexpr int FieldLengthAboveTemplate = 183;  // %1 field, %2 length, %3 the template's limit
constexpr int FieldNotInTemplate = 184;        // %1 field
constexpr int FieldPositionOff = 185;          // %1 field, %2 position
constexpr int FieldRunsOff = 186;              // %1 field, %2 row, %3 column, %4 length
constexpr int FieldRowColumnOff = 187;         // %1 field, %2 row, %3 column
constexpr int FieldPlaceMismatch = 188;  // %1 field, %2 row, %3 column, %4 position, %5 its row, %6 its column
constexpr int DateTimeOverlap = 189;     // %1 row, %2 column
constexpr int FieldsOverlap = 190;       // %1, %2 fields, %3 row, %4 column
constexpr int StrayCellTags = 191;       // %1 cells, %2 row, %3 column, %4 the number
constexpr int TagsOfUnplacedField = 192;  // %1 field
constexpr int TagsDiffer = 193;           // %1 field, %2 row, %3 column, %4 length
// Under a list cut short: %1 the problems not listed.
constexpr int MoreProblems = 194;
// vemctl's words on a project: %1 the path given.
constexpr int NoSuchFolder = 195;
constexpr int TemplateBesideProject = 196;
constexpr int RefusedAsCheckRefuses = 197;
constexpr int NoProblemFound = 198;
constexpr int FileLinkLoop = 199;
constexpr int FileNameTooLong = 200;
constexpr int NoFileNamed = 201;  // vemctl: an empty file argument
constexpr int ReceiptNotText = 202;  // %1 the file
constexpr int ReceiptWasUtf8 = 203;  // %1 the file
constexpr int ReceiptLinesCut = 204;  // %1 the file, %2 the limit
constexpr int ReceiptOnlyFirst = 205;  // %1 the file, %2 the line count
constexpr int ReceiptOnlyStart = 206;  // %1 the file, %2 the byte limit
constexpr int PosAreaOverItem = 207;  // %1, %2 the rows, %3 a field
constexpr int PosAreaNone = 208;
constexpr int BackgroundNotImage = 209;  // %1 the file
constexpr int BackgroundTooLarge = 210;  // %1 the file, %2 × %3 its size, %4 the limit
constexpr int PreviewCaption = 211;
constexpr int PreviewWritten = 212;  // %1 the PNG file
constexpr int PreviewItem = 213;  // the menu item of the preview window
constexpr int PreviewTitle = 214;
constexpr int PreviewDataSet = 215;
constexpr int PreviewOpenReceipt = 216;
constexpr int PreviewNextLine = 217;
constexpr int PreviewPlay = 218;
constexpr int PreviewStop = 219;
constexpr int PreviewPhoto = 220;
constexpr int PreviewTestPicture = 221;
constexpr int PreviewSavePng = 222;
constexpr int PreviewNoReceipt = 223;
constexpr int PreviewReceiptAt = 224;  // %1 the receipt file, %2 the lines played, %3 its lines
constexpr int PreviewEventRelay = 225;  // %1 the receipt line, %2 the keyword
constexpr int PreviewEventSend = 226;  // %1 the receipt line, %2 the keyword
constexpr int PreviewProblems = 227;  // %1 how many
constexpr int PreviewPngFilter = 228;
constexpr int PreviewPhotoFilter = 229;
constexpr int PreviewReceiptFilter = 230;
constexpr int PreviewSaveFailed = 231;  // %1 the file, %2 the reason
constexpr int StationResultVerified = 232;  // a station attempt that programmed and verified its device
constexpr int StationResultAlreadyHeld = 233;  // a station attempt whose device already held the project
constexpr int StationResultFailed = 234;
constexpr int StationResultPulled = 235;  // a device that went away during its attempt
constexpr int RecordNotDatabase = 236;  // %1 the record, %2 why
constexpr int RecordReadOnly = 237;
constexpr int RecordServerUnreachable = 238;  // %1 the record address, %2 the driver text
constexpr int RecordServerRefused = 239;
constexpr int RecordBadAddress = 240;
constexpr int RecordDriverMissing = 241;
constexpr int RecordNotWritten = 242;
constexpr int RecordNotRead = 243;
constexpr int RecordSinceNoDate = 244;
constexpr int RecordEmpty = 245;  // %1 the record
constexpr int StationArrived = 246;  // %1 device
constexpr int StationStarted = 247;  // %1 device
constexpr int StationVerified = 248;  // %1 device, %2 seconds
constexpr int StationAlreadyHeld = 249;  // %1 device, %2 seconds
constexpr int StationFailed = 250;  // %1 device, %2 step, %3 message
constexpr int StationPulled = 251;  // %1 device, %2 step, %3 message
constexpr int StationLeft = 252;  // %1 device
constexpr int StationWaiting = 253;  // %1 folder
constexpr int StationFolderAbsent = 254;  // %1 folder
constexpr int StationRecordNotWritten = 255;  // %1 why the record could not be written
constexpr int StationCommandFailed = 256;  // %1 device, %2 exit code
constexpr int StationCommandNotRun = 257;  // %1 device
constexpr int StationCommandTimedOut = 258;  // %1 device, %2 seconds
constexpr int StationSummary = 259;  // counts
constexpr int StationItem = 260;  // the device menu item of the station window
constexpr int StationWindowTitle = 261;
constexpr int StationFolderLabel = 262;
constexpr int StationStart = 263;
constexpr int StationStop = 264;
constexpr int StationCounters = 265;  // %1 verified, %2 failed or pulled, %3 already held
constexpr int StationLastRecords = 266;  // %1 the record
constexpr int StationTileSettling = 267;  // a device that waits for the settle time
constexpr int StationTileRunning = 268;
constexpr int StationTileLeft = 269;  // a device pulled after its run
constexpr int StationNoProjectFile = 270;
constexpr int StationStepCheck = 271;  // the station's step before programming
constexpr int StationStepOpen = 272;
}  // namespace Msg

// The one extra message of each of four dialogs.
enum class DialogId { IpAddress, Pos, Video, DataSend };

struct DialogMessages {
    std::array<std::string, 4> texts;
    const std::string& text(DialogId id) const { return texts[static_cast<int>(id)]; }
    void setText(DialogId id, std::string t) { texts[static_cast<int>(id)] = std::move(t); }
};

}  // namespace vem
