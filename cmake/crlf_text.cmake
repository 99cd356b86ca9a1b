# Notepad before Windows 10 shows a file with bare LF line ends as one long line: the
# texts of the Windows download get CR LF. @PROJECT_VERSION@ in a text becomes the version.
function(wxguide_crlf_text source converted version)
    file(READ ${source} text)
    set(PROJECT_VERSION ${version})
    string(CONFIGURE "${text}" text @ONLY)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${converted} "${text}")
endfunction()
