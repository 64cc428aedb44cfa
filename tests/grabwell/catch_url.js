// Creates the catcher by its programmatic id and calls CatchUrl the ways page scripts
// do. cscript exits with 0 even when a script fails, so each failure ends the script
// with an exit code of its own.
var step = 1;
var catcher;
try {
    catcher = new ActiveXObject("Quillon.Grabwell");
    step = 2;
    catcher.CatchUrl("http://example.org/jscript/literal.swf");
    step = 3;
    var url = "http://example.org/jscript/variable.swf?from=" + "jscript";
    catcher.CatchUrl(url);
    step = 4;
    var result = catcher.CatchUrl("http://example.org/jscript/assigned.swf");
    if (typeof result != "undefined") WScript.Quit(10);
    step = 5;
    catcher.catchurl("http://example.org/jscript/lower-case.swf");
} catch (e) {
    WScript.Quit(step);
}
// A call without its argument is refused.
try {
    catcher.CatchUrl();
} catch (e) {
    WScript.Quit(0);
}
WScript.Quit(11);
