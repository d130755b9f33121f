// The barcode encoder comes here.
