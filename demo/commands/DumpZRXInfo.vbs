' Demo stand-in: writes the replication configuration into the file it is given.
'   cscript DumpZRXInfo.vbs <output file>
Option Explicit
Dim shell, fso, stubLog, output
Set shell = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
If WScript.Arguments.Count < 1 Then WScript.Quit 1
stubLog = shell.ExpandEnvironmentStrings("%ZELTRIN_STUB_LOG%")
If stubLog <> "%ZELTRIN_STUB_LOG%" And stubLog <> "" Then
    Set output = fso.OpenTextFile(stubLog, 8, True)
    output.WriteLine "dumpzrxinfo|" & WScript.Arguments(0)
    output.Close
End If
Set output = fso.CreateTextFile(WScript.Arguments(0), True)
output.WriteLine "DumpZRXInfo stub output"
output.Close
WScript.Quit 0
