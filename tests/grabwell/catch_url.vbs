' Creates the catcher by its programmatic id and calls CatchUrl the ways page scripts
' do. cscript exits with 0 even when a script fails, so each failure ends the script
' with an exit code of its own.
Option Explicit
Dim catcher, url, result
On Error Resume Next

Set catcher = CreateObject("Quillon.Grabwell")
If Err.Number <> 0 Then WScript.Quit 1
catcher.CatchUrl "http://example.org/vbscript/literal.swf"
If Err.Number <> 0 Then WScript.Quit 2
' A variable goes to the object by reference.
url = "http://example.org/vbscript/variable.swf?from=" & "vbscript"
catcher.CatchUrl url
If Err.Number <> 0 Then WScript.Quit 3
result = catcher.CatchUrl("http://example.org/vbscript/assigned.swf")
If Err.Number <> 0 Then WScript.Quit 4
If Not IsEmpty(result) Then WScript.Quit 10
catcher.catchurl "http://example.org/vbscript/lower-case.swf"
If Err.Number <> 0 Then WScript.Quit 5

' A call without its argument is refused.
catcher.CatchUrl
If Err.Number = 0 Then WScript.Quit 11
WScript.Quit 0
