#pragma once
// TSevenZip: the non-visual component that writes and extracts
// password-protected 7z archives by driving the 7-Zip library, loaded when
// the component is created (see library.h for where it is looked for).
//
// Add packs the files named by Files into SZFileName; Extract unpacks
// SZFileName (all items, or those Files names by index or stored name) into
// ExtrBaseDir; List reads the item names into Files. Problems are reported
// as numbered messages through OnMessage (messages.h); only a missing
// library raises, at construction.
//
// The library works on a worker thread while the calling thread waits; the
// events still fire on the calling thread, one at a time, and the
// application keeps painting meanwhile. One operation runs at a time: a call
// made from an event handler while one runs returns -1 and does nothing.

#include "safekeep/sevenzip/abi.h"
#include "safekeep/sevenzip/comptr.h"
#include "safekeep/sevenzip/operation.h"
#include "safekeep/sevenzip/runner.h"
#include "safekeep/sevenzip/widestringlist.h"
#include "toolkit/core/component.h"
#include "toolkit/core/datetime.h"

#include <QFlags>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace safekeep {

namespace sz {
class TSevenZipLibrary;
}

class TSevenZip : public tk::TComponent, private sz::TArchiveEvents {
    Q_OBJECT
    Q_PROPERTY(QString SZFileName READ SZFileName WRITE SetSZFileName)
    Q_PROPERTY(QString AddRootDir READ AddRootDir WRITE SetAddRootDir)
    Q_PROPERTY(QString ExtrBaseDir READ ExtrBaseDir WRITE SetExtrBaseDir)
    Q_PROPERTY(QString Password READ Password WRITE SetPassword)
    Q_PROPERTY(AddOpts AddOptions READ AddOptions WRITE SetAddOptions)
    Q_PROPERTY(ExtractOpts ExtractOptions READ ExtractOptions WRITE SetExtractOptions)
    Q_PROPERTY(TCompressType LZMACompressType READ LZMACompressType WRITE SetLZMACompressType)
    Q_PROPERTY(TCompressStrength LZMACompressStrength READ LZMACompressStrength WRITE SetLZMACompressStrength)
    Q_PROPERTY(uchar LZMAStrength READ LZMAStrength WRITE SetLZMAStrength)
    Q_PROPERTY(uchar LPPMDmem READ LPPMDmem WRITE SetLPPMDmem)
    Q_PROPERTY(uchar LPPMDsize READ LPPMDsize WRITE SetLPPMDsize)
    Q_PROPERTY(bool SFXCreate READ SFXCreate WRITE SetSFXCreate)
    Q_PROPERTY(QString SFXModule READ SFXModule WRITE SetSFXModule)
    Q_PROPERTY(int NumberOfFiles READ NumberOfFiles WRITE SetNumberOfFiles)
    Q_PROPERTY(int VolumeSize READ VolumeSize WRITE SetVolumeSize)
    Q_CLASSINFO("Default:LZMACompressType", "LZMA")
    Q_CLASSINFO("Default:LZMACompressStrength", "SAVE")
    Q_CLASSINFO("Default:LZMAStrength", "0")
    Q_CLASSINFO("Default:LPPMDmem", "30")
    Q_CLASSINFO("Default:LPPMDsize", "10")
    Q_CLASSINFO("Default:SFXCreate", "False")
    Q_CLASSINFO("Default:SFXModule", "7z.sfx")
    Q_CLASSINFO("Default:NumberOfFiles", "-1")
    Q_CLASSINFO("Default:VolumeSize", "0")

public:
    enum TCompressType { LZMA, PPMD };
    Q_ENUM(TCompressType)
    enum TCompressStrength { SAVE, FAST, NORMAL, MAXIMUM, ULTRA };
    Q_ENUM(TCompressStrength)
    enum AddOptsEnum {
        AddRecurseDirs = 1,
        AddSolid = 2,
        AddStoreOnlyFilename = 4,
        AddIncludeDriveLetter = 8,
        AddEncryptFilename = 16,
    };
    Q_DECLARE_FLAGS(AddOpts, AddOptsEnum)
    Q_FLAG(AddOpts)
    enum ExtractOptsEnum { ExtractNoPath = 1, ExtractOverwrite = 2 };
    Q_DECLARE_FLAGS(ExtractOpts, ExtractOptsEnum)
    Q_FLAG(ExtractOpts)

    using TMessageEvent =
        std::function<void(QObject* sender, int errCode, const QString& message, const QString& filename)>;
    using TPreProgressEvent = std::function<void(QObject* sender, qint64 maxProgress)>;
    using TProgressEvent =
        std::function<void(QObject* sender, const QString& filename, qint64 filePosArc, qint64 filePosFile)>;
    using TFileEvent = std::function<void(QObject* sender, const QString& filename, qint64 filesize)>;
    using TListFileEvent = std::function<void(
        QObject* sender, const QString& filename, qint64 fileindex, qint64 fileSizeU, qint64 fileSizeP,
        qint64 fileattr, qint64 filecrc, const QString& filemethod, tk::TDateTime fileTime)>;
    using TSetNameEvent = std::function<void(QObject* sender, quint32 fileIndex, QString& oldFileName)>;
    using TExtractOverwriteEvent =
        std::function<void(QObject* sender, const QString& fileName, bool& doOverwrite)>;
    using TOpenVolumeEvent =
        std::function<void(QObject* sender, const QString& arcFileName, bool removable, bool& cancel)>;

    // Loads the library; raises tk::Exception "Could not load CreateObject
    // function from 7za.dll" CR LF "Perhaps 7za.dll not found" when it cannot.
    explicit TSevenZip(QObject* owner = nullptr);
    ~TSevenZip() override;

    // --- Operations ---------------------------------------------------------
    // Writes the archive: the library's result (0 = success), or -1 when no
    // file was collected or the self-extractor could not be made. Raises the
    // silent abort when the archive file cannot be created.
    int Add();
    // Extracts (or with testArchive only checks) items: the library's result
    // (0 = success; an item failure turns a success into E_FAIL), or -1 when
    // the archive cannot be opened or an index is out of range.
    int Extract(bool testArchive = false);
    // Fills Files with the item names (folders with a trailing "/") and
    // raises OnListfile per item: the number of items, or -1.
    int List();
    // Stops the running operation at its next progress report.
    void Cancel() { cancel_ = true; }
    // Index of the item with that stored name ("/" or "\" between folders;
    // an exact match first, else the one match without regard to case), or
    // -1. Opens SZFileName itself when no operation has it open.
    int GetIndexByFilename(const QString& name);
    // Self-extractors: SFXCheck finds the archive inside file (sets IsSFX and
    // SFXOffset); ConvertSFXto7z writes it to file with extension ".7z";
    // Convert7ztoSFX writes SFXModule followed by the archive file to file
    // with extension ".exe", never over an existing file.
    bool SFXCheck(const QString& file);
    bool ConvertSFXto7z(const QString& file);
    bool Convert7ztoSFX(const QString& file);

    // --- Published properties -----------------------------------------------
    QString SZFileName() const { return fSZFileName; }
    void SetSZFileName(const QString& value) { fSZFileName = value; }
    QString AddRootDir() const { return fAddRootDir; }
    void SetAddRootDir(const QString& value) { fAddRootDir = value; }
    QString ExtrBaseDir() const { return fExtrBaseDir; }
    void SetExtrBaseDir(const QString& value) { fExtrBaseDir = value; }
    QString Password() const { return fPassword; }
    void SetPassword(const QString& value) { fPassword = value; }
    AddOpts AddOptions() const { return fAddOptions; }
    void SetAddOptions(AddOpts value) { fAddOptions = value; }
    ExtractOpts ExtractOptions() const { return fExtractOptions; }
    void SetExtractOptions(ExtractOpts value) { fExtractOptions = value; }
    TCompressType LZMACompressType() const { return fLZMACompressType; }
    void SetLZMACompressType(TCompressType value) { fLZMACompressType = value; }
    TCompressStrength LZMACompressStrength() const { return fLZMACompressStrength; }
    void SetLZMACompressStrength(TCompressStrength value) { fLZMACompressStrength = value; }
    uchar LZMAStrength() const { return fLZMAStrength; }
    void SetLZMAStrength(uchar value) { fLZMAStrength = value; }
    uchar LPPMDmem() const { return fLPPMDmem; }
    void SetLPPMDmem(uchar value) { fLPPMDmem = value; }
    uchar LPPMDsize() const { return fLPPMDsize; }
    void SetLPPMDsize(uchar value) { fLPPMDsize = value; }
    bool SFXCreate() const { return fSFXCreate; }
    void SetSFXCreate(bool value) { fSFXCreate = value; }
    QString SFXModule() const { return fSFXModule; }
    void SetSFXModule(const QString& value) { fSFXModule = value; }
    int NumberOfFiles() const { return fNumberOfFiles; }
    void SetNumberOfFiles(int value) { fNumberOfFiles = value; }
    int VolumeSize() const { return fVolumeSize; }
    void SetVolumeSize(int value) { fVolumeSize = value; }

    // --- Public state -------------------------------------------------------
    TWideStringList* Files() const { return fFiles; }
    // The code of the last message (0 after an item finished well).
    int ErrCode() const { return fErrCode; }
    // The errno of the last failure that had one.
    int LastError() const { return fLastError; }
    quintptr Handle() const { return fHandle; }
    void SetHandle(quintptr value) { fHandle = value; }
    bool IsSFX() const { return fIsSFX; }
    qint64 SFXOffset() const { return fSFXOffset; }
    QString SevenZipComment() const { return fSevenZipComment; }
    // The archive files the last successful Add wrote.
    QStringList NamesOfVolumesWritten() const { return fNamesOfVolumesWritten; }
    // The library file in use.
    QString LibraryFileName() const;

    // The level the library gets for a strength: 0, 3, 5, 7, 9 (5 for an
    // unknown value).
    static uint32_t CompressionLevel(TCompressStrength strength);

    // --- Events -------------------------------------------------------------
    TMessageEvent OnMessage;
    TPreProgressEvent OnPreProgress;
    TProgressEvent OnProgress;
    TFileEvent OnAddfile;
    TFileEvent OnExtractfile;
    TListFileEvent OnListfile;
    TSetNameEvent OnSetAddName;
    TSetNameEvent OnSetExtractName;
    TExtractOverwriteEvent OnExtractOverwrite;
    TOpenVolumeEvent OnOpenVolume;

protected:
    // Event dispatchers: each fires its event when a handler is assigned.
    virtual void DoMessage(int errCode, const QString& message, const QString& filename);
    virtual void DoPreProgress(qint64 maxProgress);
    virtual void DoProgress(const QString& filename, qint64 filePosArc, qint64 filePosFile);
    virtual void DoAddFile(const QString& filename, qint64 filesize);
    virtual void DoExtractFile(const QString& filename, qint64 filesize);
    virtual void DoListFile(const QString& filename, qint64 fileindex, qint64 fileSizeU, qint64 fileSizeP,
                            qint64 fileattr, qint64 filecrc, const QString& filemethod,
                            tk::TDateTime fileTime);
    virtual void DoSetAddName(quint32 fileIndex, QString& oldFileName);
    virtual void DoSetExtractName(quint32 fileIndex, QString& oldFileName);
    virtual void DoExtractOverwrite(const QString& fileName, bool& doOverwrite);
    virtual void DoOpenVolume(const QString& arcFileName, bool removable, bool& cancel);

private:
    class TArchiveSession;

    // sz::TArchiveEvents
    void Report(int code, const QString& fileName, int error) override;
    void PreProgress(uint64_t total) override;
    void FileStarted(bool adding, const QString& fileName, uint64_t size) override;
    void Progress(const QString& fileName, uint64_t archivePosition, uint64_t filePosition) override;
    void SetExtractName(uint32_t index, QString& fileName) override;
    bool ConfirmOverwrite(const QString& fileName) override;
    void RecordError(int error) override { fLastError = error; }
    bool CancelRequested() const override { return cancel_; }

    // Sets the compression settings in one call (the library forgets
    // earlier ones on every call).
    sz::HRESULT ApplyCompressionSettings();
    // The self-extractor module file, or empty when it does not exist.
    QString FindSfxModule() const;
    // With an ".EXE" SZFileName: the offset of the archive in it, or nothing
    // after reporting code 7. Otherwise 0.
    std::optional<uint64_t> ArchiveStart();
    // The files of SZFileName: its later volumes follow a volume "x.001".
    QStringList ArchiveVolumes();
    // Opens SZFileName; on failure reports code 1 (missing file or no
    // archive) or 2 (damaged archive, wrong or missing password) when report
    // is set, and returns false.
    bool OpenArchive(uint64_t start, bool report);
    int FindItemIndex(const QString& name);

    // Declared first: the library objects below are released before the
    // library is unloaded.
    std::unique_ptr<sz::TSevenZipLibrary> library_;
    sz::TComPtr<sz::IInArchive> inArchive_;
    sz::TComPtr<sz::IOutArchive> outArchive_;
    sz::TComPtr<sz::ISetProperties> setProperties_;
    sz::TCallerThreadRunner runner_;
    std::atomic<bool> cancel_{false};
    bool busy_ = false;
    bool archiveOpen_ = false;

    TWideStringList* fFiles;
    QString fSZFileName;
    QString fAddRootDir;
    QString fExtrBaseDir;
    QString fPassword;
    AddOpts fAddOptions;
    ExtractOpts fExtractOptions;
    TCompressType fLZMACompressType = LZMA;
    TCompressStrength fLZMACompressStrength = SAVE;
    uchar fLZMAStrength = 0;
    uchar fLPPMDmem = 30;
    uchar fLPPMDsize = 10;
    bool fSFXCreate = false;
    QString fSFXModule = QStringLiteral("7z.sfx");
    int fNumberOfFiles = -1;
    int fVolumeSize = 0;
    int fErrCode = 0;
    std::atomic<int> fLastError{0};
    quintptr fHandle = 0;
    bool fIsSFX = false;
    qint64 fSFXOffset = 0;
    QString fSevenZipComment;
    QStringList fNamesOfVolumesWritten;
};

}  // namespace safekeep

Q_DECLARE_OPERATORS_FOR_FLAGS(safekeep::TSevenZip::AddOpts)
Q_DECLARE_OPERATORS_FOR_FLAGS(safekeep::TSevenZip::ExtractOpts)
