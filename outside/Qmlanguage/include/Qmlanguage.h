#ifndef QMLANGUAGE_H
#define QMLANGUAGE_H
/*
 * Qmlanguage: Simplified Chinese in GB2312 bytes to Traditional Chinese in BIG5 bytes and back,
 * phrase by phrase (发票 -> 發票, 头发 -> 頭髮, 后来 -> 後來, 干部 -> 幹部, 皇后 stays 皇后).
 *
 * Loading. Callers load the library by name ("Qmlanguage.dll", found as Qmlanguage.so by the
 * platform layer) and look the entries up by name. Every entry has C linkage (unmangled names)
 * and the platform's C calling convention (System V on x86-64 Linux); the function pointer types
 * below are what to cast the looked-up addresses to. Only GBtoBIG5 and BIG5toGB are needed for
 * the conversion; the other three entries are tools around the tables.
 *
 * Byte forms. The Simplified side is code page 936 (GBK, a superset of GB2312: characters of GBK
 * outside GB2312 convert too); the Traditional side is code page 950 (BIG5 with the usual
 * extensions). ASCII bytes, including NUL, pass unchanged.
 *
 * Tables. The phrase and character tables of OpenCC in their Taiwan variants (what its s2tw and
 * tw2s configurations use): plain Simplified-to-Traditional tables produce forms BIG5 lacks
 * (爲, 僞, 衆, 啓, 牀 ...) for common characters, and the Taiwan vocabulary tables (s2twp) would
 * swap words (软件 -> 軟體, 打印 -> 列印), which breaks the round trip of data values that the
 * caller converts to BIG5 and back. Character counts never change: every table entry maps a
 * phrase to one of the same length.
 *
 * Characters the target code page cannot hold. Each such character of the converted text is
 * replaced, in this order of preference, by
 *   1. the source character as it stood, when the target holds that (the rare Traditional
 *      characters whose Simplified form lies outside GBK, such as 暐 or 煇 in names, stay
 *      Traditional in the GB text);
 *   2. a look-alike the target holds (≤ -> ≦, ≥ -> ≧, ‖ -> ∥, ━ -> ─, ‧ -> ·, ā -> a ...);
 *   3. QMLANGUAGE_SUBSTITUTE, the full-width question mark "？" (BIG5 A1 48, GBK A3 BF), which
 *      keeps the width of the double-byte character it stands for.
 * Nothing is dropped silently. Bytes that start no character of the source code page (a stray
 * byte, a lead byte at the end, a lead byte with an invalid trail byte) become one '?' each; the
 * bytes after them convert normally.
 *
 * Results. The caller provides the place for the result: result points to resultSize bytes.
 * On QML_OK the converted text and a terminating NUL are written there and *resultLength holds
 * the text's length without the NUL (an empty source gives an empty result). When the text and
 * its NUL do not fit, the call answers QML_BUFFER_TOO_SMALL, writes nothing into result and sets
 * *resultLength to the length the text needs (without the NUL): call again with a larger buffer.
 * result may be null when resultSize is 0, which asks for the length alone. For GBtoBIG5 and
 * BIG5toGB, 2 * sourceLength + 1 bytes are always enough: each source byte yields at most one
 * character of at most two bytes, as the tables keep the number of characters (the single byte
 * 0x80, the euro sign in GBK, is the one case of growth: two bytes in BIG5).
 *
 * Threads and loading. Every entry may be called from any number of threads at once. The tables
 * of a direction are loaded by the first call that needs them (tens of milliseconds) and kept
 * for the life of the process; a failure to load is kept as well, and from then on every call of
 * that direction that needs the tables answers QML_NOT_AVAILABLE. A text of ASCII bytes alone
 * (or an empty one) needs no tables. The tables are OpenCC's dictionary files, read from OpenCC's
 * data folder or, when the environment variable QMLANGUAGE_DATA_DIR is set at the first call,
 * from that folder: STPhrases, STCharacters and TWVariants for GB to BIG5; TSPhrases,
 * TSCharacters, TWVariantsRev and TWVariantsRevPhrases for BIG5 to GB (each with ".ocd2").
 *
 * Errors. No exception ever leaves an entry; every failure is one of the status codes below, and
 * on any status other than QML_OK and QML_BUFFER_TOO_SMALL the result and *resultLength are
 * left as they were.
 */
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes answered by every entry. */
enum QmlanguageStatus {
    QML_OK = 0,
    QML_BUFFER_TOO_SMALL = 1, /* *resultLength tells the length needed */
    QML_INVALID_ARGUMENT = 2, /* a null pointer where one is needed; see each entry */
    QML_NOT_AVAILABLE = 3,    /* the tables or the code-page converters could not be loaded */
    QML_IO_ERROR = 4,         /* SaveOrder could not write its file */
    QML_INTERNAL_ERROR = 5    /* out of memory or another unexpected failure */
};

/* Directions, numbered as the conversion modes of the callers' configuration. */
enum QmlanguageDirection {
    QML_BIG5_TO_GB = 1,
    QML_GB_TO_BIG5 = 2
};

/* The substitute for a character the target code page cannot hold, as UTF-8. */
#define QMLANGUAGE_SUBSTITUTE "\xEF\xBC\x9F"

/*
 * GBtoBIG5: sourceLength bytes of GB text at source (source may be null when sourceLength is
 * 0) to BIG5 text; BIG5toGB: the other way. Result protocol: see "Results" above.
 * QML_INVALID_ARGUMENT: source null with sourceLength > 0, resultLength null, or result null
 * with resultSize > 0.
 */
int GBtoBIG5(const char* source, size_t sourceLength, char* result, size_t resultSize, size_t* resultLength);
int BIG5toGB(const char* source, size_t sourceLength, char* result, size_t resultSize, size_t* resultLength);

/*
 * GetBIG5Data: every Traditional form that the character tables know for one GB character, in
 * table order (the first is the one a conversion uses outside a known phrase), each written as
 * GBtoBIG5 would write it, duplicates removed: 发 -> 發髮, 干 -> 幹乾干, 中 -> 中. GetGBData:
 * the Simplified forms of one BIG5 character, likewise. Same result protocol as the conversions;
 * QML_INVALID_ARGUMENT also when the source is not exactly one valid character.
 */
int GetBIG5Data(const char* character, size_t length, char* result, size_t resultSize, size_t* resultLength);
int GetGBData(const char* character, size_t length, char* result, size_t resultSize, size_t* resultLength);

/*
 * SaveOrder: writes the character table of one direction (a QmlanguageDirection) to the file at
 * path (a NUL-terminated file-system path), replacing it: one line for every double-byte
 * character of the source code page, in code order, as UTF-8 with tab-separated columns
 *   source code (4 hex digits), source character, result code, result character, how
 * where how is "table" (converted by the tables, or unchanged), "kept" (rule 1 above), "alike"
 * (rule 2) or "substitute" (rule 3). A first line starting with '#' names the columns. For
 * checking what a code page loses. QML_INVALID_ARGUMENT for a null path or an unknown direction,
 * QML_IO_ERROR when the file cannot be written.
 */
int SaveOrder(const char* path, int direction);

typedef int (*QmlanguageConvertProc)(const char* source, size_t sourceLength, char* result,
                                     size_t resultSize, size_t* resultLength);
typedef int (*QmlanguageSaveOrderProc)(const char* path, int direction);

#ifdef __cplusplus
}
#endif

#endif /* QMLANGUAGE_H */
