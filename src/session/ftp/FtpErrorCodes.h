#pragma once

// Values of FtpError::code, numbered as the Windows Internet library numbers
// them so that code written against those names reads the same here.
namespace vendrel::ftp {

constexpr int ERROR_INVALID_HANDLE = 6;
constexpr int ERROR_NO_MORE_FILES = 18;     // a listing with no (more) matching entry
constexpr int ERROR_INVALID_PARAMETER = 87; // a path with CR, LF or NUL, a bad host, a bad flag
constexpr int ERROR_INTERNET_TIMEOUT = 12002;
constexpr int ERROR_INTERNET_EXTENDED_ERROR = 12003; // the server refused: its reply is the description
constexpr int ERROR_INTERNET_INTERNAL_ERROR = 12004; // libcurl could not be set up
constexpr int ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr int ERROR_INTERNET_LOGIN_FAILURE = 12015;
constexpr int ERROR_INTERNET_OPERATION_CANCELLED = 12017;
constexpr int ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr int ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr int ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr int ERROR_INTERNET_INVALID_CA = 12045;             // the server's certificate was not trusted
constexpr int ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157; // the TLS handshake failed
constexpr int ERROR_FTP_TRANSFER_IN_PROGRESS = 12110;        // the connection is busy with another call or an open file
// Vendrel's own: the Internet library knew no FTPS.
constexpr int ERROR_FTP_TLS_REQUIRED = 12900;    // the server refuses a login in clear
constexpr int ERROR_FTP_TLS_UNAVAILABLE = 12901; // the server offers no TLS (AUTH TLS refused)

} // namespace vendrel::ftp
