// The HTTP client: a WinINet session, a connection to one server and its requests. Calls
// block until they are done. A connection keeps one TCP connection open across its requests
// (reopened only when the server closed it); the request target goes on the wire exactly as
// given. Connects time out after 15 s, a transfer after 20 s without data, and a whole
// request after 60 s.
//
// TICKWELL_CONNECT_TO (curl's CONNECT_TO syntax, "host:port:address:port" entries separated
// by commas, an empty field matching anything) routes hosts elsewhere.
#pragma once

#include "platform/win_types.h"

struct HINTERNET__;
using HINTERNET = HINTERNET__*;
using INTERNET_PORT = WORD;

inline constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;
inline constexpr DWORD INTERNET_SERVICE_HTTP = 3;
inline constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
inline constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;

inline constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
inline constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;

inline constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr DWORD ERROR_INTERNET_OPERATION_CANCELLED = 12017;
inline constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
inline constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;

// A session: `agent` is sent as the User-Agent of every request. With
// INTERNET_OPEN_TYPE_PROXY, `proxy` is "HTTP://host" or "HTTP://host:port" (the scheme in
// any case) and requests go through it in absolute form. Null when it cannot be had.
HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR proxy, LPCWSTR proxyBypass,
                        DWORD flags);
// A connection to `server` for the HTTP service; no packet is sent until a request is.
HINTERNET InternetConnectW(HINTERNET session, LPCWSTR server, INTERNET_PORT port,
                           LPCWSTR userName, LPCWSTR password, DWORD service, DWORD flags,
                           DWORD_PTR context);
// A request for `target` (a path with its query, printable ASCII). `version` null: HTTP/1.1.
HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR target, LPCWSTR version,
                           LPCWSTR referrer, LPCWSTR* acceptTypes, DWORD flags,
                           DWORD_PTR context);
// Sends the request and waits for the reply's status line and headers; FALSE (and the last
// error) when no reply came.
BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headersLength, void* optional,
                      DWORD optionalLength);
// HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER: the status as a DWORD.
BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                    DWORD* index);
// Copies at most `toRead` bytes of the body; TRUE with 0 at its end, FALSE when the
// connection failed before the body was whole.
BOOL InternetReadFile(HINTERNET request, void* buffer, DWORD toRead, DWORD* read);
BOOL InternetCloseHandle(HINTERNET handle);
