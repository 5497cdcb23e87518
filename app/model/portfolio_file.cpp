#include "model/portfolio_file.h"

#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/kernel32/files.h"
#include "platform/kernel32/memory.h"
#include "platform/user32/message_box.h"

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr char16_t kFieldSeparator = u',';
constexpr char16_t kRecordEnd = u'#';

// Record order: the date comes before the ratio, unlike the record itself. Files written by
// every earlier version depend on it.
constexpr QuoteField kFileOrder[kQuoteFieldCount] = {
    QuoteField::symbol,      QuoteField::exchangeCode,  QuoteField::prevClose,
    QuoteField::eps,         QuoteField::lastTradeDate, QuoteField::peRatio,
    QuoteField::lastPrice,   QuoteField::change,        QuoteField::pctChange,
    QuoteField::volume,      QuoteField::marketCap,     QuoteField::lastTradeTime,
    QuoteField::reserved,    QuoteField::dayHigh,       QuoteField::dayLow,
    QuoteField::yearHigh,    QuoteField::yearLow,       QuoteField::sharesOut,
    QuoteField::companyName,
};

bool WriteUnits(HANDLE file, const char16_t* units, std::size_t count) {
    DWORD written = 0;
    const auto bytes = static_cast<DWORD>(count * sizeof(char16_t));
    return WriteFile(file, units, bytes, &written, nullptr) && written == bytes;
}

bool WritePortfolio(HANDLE file) {
    for (int row = 0; RowInUse(row); ++row) {
        if (row == 0 && !WriteUnits(file, &kByteOrderMark, 1)) return false;
        char16_t record[kPortfolioRecordCapacity];
        if (!WriteUnits(file, record, FormatPortfolioRecord(Portfolio[row], record))) return false;
    }
    return FlushFileBuffers(file) != FALSE;
}

void ShowFileError(const char16_t* text) {
    MessageBoxW(nullptr, text, u"Error", MB_OK);
}

bool fileUnread = false;

}  // namespace

void SetPortfolioFileUnread(bool unread) {
    fileUnread = unread;
}

bool PortfolioFileUnread() {
    return fileUnread;
}

std::size_t FormatPortfolioRecord(const QuoteRecord& record,
                                  char16_t (&out)[kPortfolioRecordCapacity]) {
    std::size_t n = 0;
    for (int i = 0; i < kQuoteFieldCount; ++i) {
        const char16_t* text = FieldText(record, kFileOrder[i]);
        if (IsEmptyText(text)) text = u"*";
        for (; *text != 0 && n + 2 < kPortfolioRecordCapacity; ++text) out[n++] = *text;
        out[n++] = i + 1 < kQuoteFieldCount ? kFieldSeparator : kRecordEnd;
    }
    return n;
}

HANDLE OpenPortfolioFileHandle(PortfolioFileMode mode) {
    return CreateFileW(PortfolioFile::kPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                       mode == PortfolioFileMode::replace ? CREATE_ALWAYS : OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenPortfolioFile(PortfolioFileMode mode) {
    HANDLE file = OpenPortfolioFileHandle(mode);
    if (file == INVALID_HANDLE_VALUE) ShowFileError(u"Could not open the quote file");
    return file;
}

int SavePortfolio(HANDLE file) {
    if (file == INVALID_HANDLE_VALUE) return 0;
    if (fileUnread) {
        // Nothing written: a replacing handle closed so leaves the old file in place.
        ShowFileError(u"Could not write the quote file");
        return 0;
    }
    const DWORD start = SetFilePointer(file, 0, nullptr, FILE_CURRENT);
    if (start != INVALID_SET_FILE_POINTER && WritePortfolio(file)) return 1;
    // Take back a partial write so that the file keeps its old content (a replacing handle
    // keeps it anyway: its content is dropped unless complete).
    if (start != INVALID_SET_FILE_POINTER &&
        SetFilePointer(file, static_cast<LONG>(start), nullptr, FILE_BEGIN) == start) {
        SetEndOfFile(file);
    }
    ShowFileError(u"Could not write the quote file");
    return 0;
}

namespace {

// Walks the file's units; never reads past `count`.
class RecordReader {
public:
    RecordReader(const char16_t* units, std::size_t count) : units_(units), count_(count) {}

    bool AtEnd() const { return pos_ >= count_; }

    // Reads the text up to `end` into the field, keeping what fits and skipping the rest.
    // False when the data ends before `end`.
    bool ReadField(char16_t end, FieldRef field) {
        const std::size_t start = pos_;
        while (pos_ < count_ && units_[pos_] != end) ++pos_;
        if (pos_ >= count_) return false;
        CopyTextN(field.text, field.width, units_ + start, pos_ - start);
        ++pos_;
        return true;
    }

private:
    const char16_t* units_;
    std::size_t count_;
    std::size_t pos_ = 0;
};

// Reads one whole record; false when the data ends inside it.
bool ReadRecord(RecordReader& reader, QuoteRecord& record) {
    ClearRecord(record);
    for (int i = 0; i < kQuoteFieldCount; ++i) {
        const char16_t end = i + 1 < kQuoteFieldCount ? kFieldSeparator : kRecordEnd;
        if (!reader.ReadField(end, FieldOf(record, kFileOrder[i]))) return false;
    }
    return true;
}

// Older versions stored dotted symbols and wrote Toronto as "C"; both are read the new way.
void NormalizeLoadedRecord(QuoteRecord& record) {
    for (char16_t* c = record.symbol; *c != 0; ++c) {
        if (*c == u'.') *c = u'-';
    }
    if (TextEquals(record.exchangeCode, u"C")) SetText(record.exchangeCode, u"T");
}

}  // namespace

int ParsePortfolioRecords(const char16_t* units, std::size_t count) {
    RecordReader reader(units, count);
    int row = 0;
    QuoteRecord record;
    while (row < kPortfolioRows && !reader.AtEnd() && ReadRecord(reader, record)) {
        // A record without a symbol would end the table in the middle: it is left out.
        if (IsEmptyText(record.symbol)) continue;
        NormalizeLoadedRecord(record);
        Portfolio[row++] = record;
    }
    return row;
}

int LoadPortfolio(HANDLE file) {
    const DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE || size == 0) return 1;
    const DWORD toRead =
        size < PortfolioFile::kReadLimit ? size : static_cast<DWORD>(PortfolioFile::kReadLimit);
    void* block = LocalAlloc(LPTR, toRead + sizeof(char16_t));
    if (!block) {
        ShowFileError(u"Not enough memory");
        return 0;
    }
    DWORD read = 0;
    ReadFile(file, block, toRead, &read, nullptr);
    const std::size_t units = read / sizeof(char16_t);
    // The first unit is the byte-order mark; it is skipped unchecked.
    if (units > 1) ParsePortfolioRecords(static_cast<const char16_t*>(block) + 1, units - 1);
    LocalFree(static_cast<HLOCAL>(block));
    return 1;
}
