' Demo stand-in: writes the replication configuration into the file it is given.
'   cscript DumpZRXInfo.vbs <output file>
Option Explicit
Dim shell, fso, stubLog, output
Set shell = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
If WScript.Arguments.Count < 1 Then WScript.Quit 1
stubLog = shell.ExpandEnvironmentStrings("%ZELTRIN_STUB_LOG%")
If stubLog <> "%ZELTRIN_STUB_LOG%" And stubLog <> "" Then
    ' Another stand-in running meanwhile may hold the log for a while: it is tried again after a
    ' pause (a command interpreter's start; some script hosts return from Sleep at once).
    Dim tries
    On Error Resume Next
    For tries = 1 To 100
        Err.Clear
        Set output = fso.OpenTextFile(stubLog, 8, True)
        If Err.Number = 0 Then Exit For
        shell.Run "cmd /c exit", 0, True
    Next
    On Error GoTo 0
    output.WriteLine "dumpzrxinfo|" & WScript.Arguments(0)
    output.Close
End If
Set output = fso.CreateTextFile(WScript.Arguments(0), True)
output.WriteLine "DumpZRXInfo stub output"
output.Close
WScript.Quit 0
