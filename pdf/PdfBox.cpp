// The PDF writer comes here.
