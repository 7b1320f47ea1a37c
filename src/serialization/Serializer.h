#pragma once
// Text data format: one hierarchical text format for every data file
// (route, levels, archetypes, banks, effects, jobs, saved levels).
//
// A component writes one Serialize(ASerializer&) routine and it works both
// ways: given a saver the calls build the file, given a loader the same
// calls read it back. Four classes:
//   ALoader               reads a file
//   StringLoadSerializer  reads the same format from a string (paste)
//   ASaver                writes a file (atomically: a fresh temporary file
//                         beside it, then rename; a symbolic link is kept
//                         and its target replaced)
//   StringSaveSerializer  writes into a string (copy)
//
// Reading is consuming: End() discards the element it leaves, so the next
// Begin() of the same name finds the next sibling of that name. Repeated
// objects are read with `while (s.Begin("X")) { ...; s.End("X"); } s.End("X");`
// -- the last End balances the failed Begin.
//
// Missing files, objects and fields are not errors: a read that finds
// nothing leaves its variable as it was. A value that is not a number, or
// that has anything but blanks after its number ("1O0", "8kg", "1e9" for a
// whole number), also leaves the variable as it was, with one warning
// naming the file, line and key. Line ends are LF, CR LF or a lone CR.
//
// What no reader asked for is not lost silently: when End() leaves an
// object, every child of it nobody read is warned of with its line (a
// misspelt component, a field of a newer version) and, for a loader asked
// to keep them, handed over to be written back with the object. A file name without ".zorvel" or
// ".zoml" throws DataFileError from the constructor; callers that take names from data check them
// first.
//
// Numbers are written like printf "%g" (six significant digits) whenever
// that reads back to the same value, and with just enough further digits
// when it would not, so saving never changes a level.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Vec2.h"
#include "serialization/Element.h"

namespace Flurr {

inline constexpr const char* kBadDataFileText = "Error, not valid .zorvel or .zoml file";

// Raised by a serializer's constructor for a name without a data
// extension; what() is the fixed text above, File() the offending name.
class DataFileError : public std::runtime_error {
public:
    explicit DataFileError(std::string file)
        : std::runtime_error(kBadDataFileText), fileName(std::move(file)) {}
    const std::string& File() const { return fileName; }

private:
    std::string fileName;
};

// True when the name carries ".zorvel" or ".zoml" anywhere.
bool HasDataExtension(std::string_view fileName);

// Data files may name paths with '\' separators; the file system wants '/'.
std::string NativePath(std::string_view path);

// The folder that relative data paths ("Resources\Images\...") are read
// from and saved to; empty means the working directory. Set once by the
// game's setup, so neither the game nor a test has to change the working
// directory to find its data.
void SetDataRoot(std::string folder);
const std::string& DataRoot();
// The path the file system should open for a data path: native separators,
// and a relative path placed under the data root.
std::string DataPath(std::string_view path);

class ASerializer {
public:
    ASerializer(std::string fileName, bool isSaving);
    virtual ~ASerializer() = default;
    ASerializer(const ASerializer&) = delete;
    ASerializer& operator=(const ASerializer&) = delete;

    virtual bool Begin(std::string_view name) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void BoolField(std::string_view name, bool& value) = 0;
    virtual void StringField(std::string_view name, std::string& value) = 0;
    virtual void DoubleField(std::string_view name, double& value) = 0;
    virtual void FloatField(std::string_view name, float& value) = 0;
    // A float that only makes sense finite: a position, rotation, scale,
    // size or density. Loaders refuse "nan" and "inf" there as they refuse
    // a number too big for a float (a warning, the previous value kept);
    // savers write it like FloatField.
    virtual void FiniteFloatField(std::string_view name, float& value) = 0;
    virtual void UnsignedField(std::string_view name, uint32_t& value) = 0;
    virtual void IntField(std::string_view name, int32_t& value) = 0;
    virtual void Vec2List(std::string_view name, std::vector<Vec2>& list) = 0;
    virtual void StringList(std::string_view name, std::vector<std::string>& list) = 0;
    virtual void BoolList(std::string_view name, std::vector<bool>& list) = 0;
    virtual void DoubleList(std::string_view name, std::vector<double>& list) = 0;
    virtual void FloatList(std::string_view name, std::vector<float>& list) = 0;
    virtual void UnsignedList(std::string_view name, std::vector<uint32_t>& list) = 0;
    virtual void IntList(std::string_view name, std::vector<int32_t>& list) = 0;
    // Savers write the file or string and report whether that worked;
    // loaders discard what is left of the tree and return true.
    virtual bool Finish() = 0;
    // Writes an element kept from reading back where it came from, below
    // the current object; loaders ignore it.
    virtual void WriteKept(const KeptElement& kept) { (void)kept; }
    // Where a warning about the value read last should point: "file:line"
    // for loaders.
    virtual std::string Where() const { return fileName; }

    bool IsSaving() const { return isSaving; }
    const std::string& FileName() const { return fileName; }

protected:
    std::string fileName;
    bool isSaving;
};

// Shared reading machinery of ALoader and StringLoadSerializer.
class LoaderBase : public ASerializer {
public:
    bool Begin(std::string_view name) override;
    void End(std::string_view name) override;
    void BoolField(std::string_view name, bool& value) override;
    void StringField(std::string_view name, std::string& value) override;
    void DoubleField(std::string_view name, double& value) override;
    void FloatField(std::string_view name, float& value) override;
    void FiniteFloatField(std::string_view name, float& value) override;
    void UnsignedField(std::string_view name, uint32_t& value) override;
    void IntField(std::string_view name, int32_t& value) override;
    void Vec2List(std::string_view name, std::vector<Vec2>& list) override;
    void StringList(std::string_view name, std::vector<std::string>& list) override;
    void BoolList(std::string_view name, std::vector<bool>& list) override;
    void DoubleList(std::string_view name, std::vector<double>& list) override;
    void FloatList(std::string_view name, std::vector<float>& list) override;
    void UnsignedList(std::string_view name, std::vector<uint32_t>& list) override;
    void IntList(std::string_view name, std::vector<int32_t>& list) override;
    bool Finish() override;
    std::string Where() const override;

    // Whether the current element still holds an unconsumed child object of
    // that name; consumes nothing (used to decide which components to make).
    bool HasChild(std::string_view name) const;

    // True when there was nothing to read: no file, an unreadable file or
    // an empty one. Every Begin then fails for the life of the loader.
    bool IsFileMissing() const { return fileMissing; }
    bool IsOk() const { return ok; }
    // What remains of the tree (the unnamed root), for tools.
    const Element& Root() const { return *root; }
    const std::vector<DataDiagnostic>& Diagnostics() const { return diagnostics; }
    // True when the text was refused whole (nesting too deep); it then reads
    // as a missing file.
    bool IsRefused() const { return refused; }

    // From now on, what End() finds unread in an object is kept (its path
    // from the top of the file) instead of discarded; TakeKept() hands
    // over what was kept so far.
    void KeepUnread(bool keep) { keepUnread = keep; }
    std::vector<KeptElement> TakeKept() { return std::move(kept); }
    // How many objects the current element is below the top (0 at the
    // unnamed root).
    std::size_t Depth() const;
    // The name used in warnings: the file name, or what the text is.
    const std::string& DisplayName() const { return displayName; }

protected:
    LoaderBase(std::string fileName, std::string displayName);
    // Subclasses hand over the raw text once; it is split, normalised and
    // parsed here. `trimTrailing` is the in-memory loader's extra rule.
    void ParseText(std::string_view text, bool trimTrailing);
    void ReportDiagnostics() const;

    template <typename T> void ReadNumber(std::string_view name, T& value);
    template <typename T, typename Convert>
    void ReadList(std::string_view name, std::vector<T>& list, Convert convert);
    void WarnNotANumber(std::string_view key, const Element& e, bool textAfter) const;
    void SetAsideUnread(Element& leaving);
    // Begin for a field of one value. An object under that name holds
    // nothing the field can use; what it holds is ignored with a warning
    // (kept, it would be saved back beside the value written instead).
    bool BeginValue(std::string_view name);

    std::unique_ptr<Element> root;
    Element* current = nullptr;
    bool ok = false;
    bool fileMissing = true;
    std::vector<std::string> skipStack;
    std::vector<DataDiagnostic> diagnostics;
    std::string displayName;
    bool refused = false;
    int32_t lastLine = 0;
    bool keepUnread = false;
    int unreadWarnings = 0;
    std::vector<KeptElement> kept;
};

class ALoader : public LoaderBase {
public:
    // Reads and parses the whole file. Throws DataFileError when the name
    // has neither data extension. Structural problems (a missing closing
    // line, text after the top-level element) are warned of once.
    explicit ALoader(std::string fileName);
    // As above, but leaves the problems to the caller (the data tool).
    ALoader(std::string fileName, bool reportProblems);
    // True when the file exists but could not be read.
    bool IsUnreadable() const { return unreadable; }

private:
    void Load(bool reportProblems);
    bool unreadable = false;
};

class StringLoadSerializer : public LoaderBase {
public:
    // `displayName` only names the text in warnings.
    explicit StringLoadSerializer(std::string text, std::string displayName = "<text>");

private:
    std::string source;
};

// Shared writing machinery of ASaver and StringSaveSerializer.
class SaverBase : public ASerializer {
public:
    bool Begin(std::string_view name) override;
    void End(std::string_view name) override;
    void BoolField(std::string_view name, bool& value) override;
    void StringField(std::string_view name, std::string& value) override;
    void DoubleField(std::string_view name, double& value) override;
    void FloatField(std::string_view name, float& value) override;
    void FiniteFloatField(std::string_view name, float& value) override;
    void UnsignedField(std::string_view name, uint32_t& value) override;
    void IntField(std::string_view name, int32_t& value) override;
    void Vec2List(std::string_view name, std::vector<Vec2>& list) override;
    void StringList(std::string_view name, std::vector<std::string>& list) override;
    void BoolList(std::string_view name, std::vector<bool>& list) override;
    void DoubleList(std::string_view name, std::vector<double>& list) override;
    void FloatList(std::string_view name, std::vector<float>& list) override;
    void UnsignedList(std::string_view name, std::vector<uint32_t>& list) override;
    void IntList(std::string_view name, std::vector<int32_t>& list) override;
    void WriteKept(const KeptElement& kept) override;

protected:
    explicit SaverBase(std::string fileName);
    void AddValue(std::string_view name, std::string text);
    Element* AddList(std::string_view name);
    void AddItem(Element* list, std::string text);
    // The finished text (every line ends in a line feed); the tree is gone
    // afterwards.
    std::string TakeText();

    std::unique_ptr<Element> root;
    Element* current = nullptr;
};

class ASaver : public SaverBase {
public:
    explicit ASaver(std::string fileName);
    // Writes a temporary file of a fresh name beside the file (made
    // exclusively, so no file of the user's is ever overwritten), syncs it
    // and renames it over the file, so a full disk or a crash never leaves
    // half a level behind. A symbolic link stays a link: the file it leads
    // to is the one replaced. Returns false (with an error reported) when
    // the file could not be written; the old file is then untouched.
    bool Finish() override;
    bool Succeeded() const { return succeeded; }

private:
    bool finished = false;
    bool succeeded = false;
};

class StringSaveSerializer : public SaverBase {
public:
    StringSaveSerializer();
    bool Finish() override;
    // The text after Finish(): the lines joined with line feeds.
    const std::string& Result() const { return result; }

private:
    std::string result;
};

// Number texts exactly as the savers write them.
std::string FormatFloat(float value);
std::string FormatDouble(double value);

// Reads of a number from a value text: leading and trailing blanks are
// skipped, and the rest must be one number. False when it is not, or the
// number does not fit.
bool ParseFloat(std::string_view text, float& out);
bool ParseDouble(std::string_view text, double& out);
bool ParseInt(std::string_view text, int32_t& out);
bool ParseUnsigned(std::string_view text, uint32_t& out);
// A line as the loaders see it: leading spaces, tabs and line feeds
// removed (a line of nothing else is kept as it is); with `trimTrailing`,
// the in-memory loader's rule, trailing blanks and carriage returns too.
std::string_view NormaliseLine(std::string_view line, bool trimTrailing);
// "x,y": a missing y is 0 ("3" is 3,0). False (and 0,0) when either part
// is not a finite number or text follows the point.
bool ParseVec2(std::string_view text, Vec2& out);
// The warning for an item that is not a point, at "file:line".
void WarnNotAPoint(const std::string& where, std::string_view text);

} // namespace Flurr
